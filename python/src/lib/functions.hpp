// The eight module functions, as the method table calls them.
#pragma once

#include <Python.h>

namespace ilvex::py {

PyObject* version(PyObject* module, PyObject* unused);
PyObject* check(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* brachy(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* plero(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* outline(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* endo(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* dialektos(PyObject* module, PyObject* args, PyObject* kwargs);
PyObject* std_dialektoi(PyObject* module, PyObject* unused);

}  // namespace ilvex::py
