// The module definition, its execution step and the method table.
#include <Python.h>

#include "exceptions.hpp"
#include "functions.hpp"

namespace ilvex::py {
namespace {

#define ILVEX_CALL_KEYWORDS(function) reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(function))

// Each doc member is the text signature line, "--", an empty line and the
// docstring; the interpreter derives __text_signature__ from the first line.
PyMethodDef methods[] = {
    {"version", version, METH_NOARGS,
     "version()\n--\n\nThe bindings (and wrapped core) version."},
    {"check", ILVEX_CALL_KEYWORDS(check), METH_VARARGS | METH_KEYWORDS,
     "check(text, path=\"doc.ild\")\n--\n\n"
     "Parse and validate a document or dialektos definition, routed\n"
     "on the declaration; returns \"document\" or \"dialektos\". `path`\n"
     "is where the source nominally lives: non-std dialektoi and\n"
     "imports resolve from its directory and errors locate there."},
    {"brachy", ILVEX_CALL_KEYWORDS(brachy), METH_VARARGS | METH_KEYWORDS,
     "brachy(text, path=\"doc.ild\")\n--\n\n"
     "Rewrite a document in the brachygraphic spelling (sim symbols;\n"
     "the canonical spelling)."},
    {"plero", ILVEX_CALL_KEYWORDS(plero), METH_VARARGS | METH_KEYWORDS,
     "plero(text, lang=None, path=\"doc.ild\")\n--\n\n"
     "Rewrite a document in the plerographic spelling (sim names in\n"
     "braces). `lang` spells sim names from that language's glossa\n"
     "(`<dialektos>.<lang>.glossa`), falling back to primary names\n"
     "where the glossa is silent."},
    {"outline", ILVEX_CALL_KEYWORDS(outline), METH_VARARGS | METH_KEYWORDS,
     "outline(text, path=\"doc.ild\")\n--\n\n"
     "The document's structural outline as plain dicts and lists:\n"
     "blocks with line spans, and located milestones, onyms, and\n"
     "deixes (`{\"key\": ..., \"line\": ...}` each)."},
    {"endo", ILVEX_CALL_KEYWORDS(endo), METH_VARARGS | METH_KEYWORDS,
     "endo(format, text, scheme=None)\n--\n\n"
     "Foreign format -> canonical ilvex (brachygraphic spelling).\n"
     "Formats: markdown | html | rst | org | djot | docbook | bibtex\n"
     "| jats | tei | usfm | usx | osis. `scheme` applies a\n"
     "versification milestone scheme (usfm/usx/osis only)."},
    {"dialektos", ILVEX_CALL_KEYWORDS(dialektos), METH_VARARGS | METH_KEYWORDS,
     "dialektos(id, dir=None, sources=None)\n--\n\n"
     "Resolve a dialektos by id and return its canonical\n"
     "serialization. `dir` resolves from a directory on disk;\n"
     "`sources` resolves from a dict of in-memory artifacts keyed by\n"
     "file name (e.g. `{\"demo.lektos\": \"...\"}`). The two are\n"
     "mutually exclusive; with neither, only the embedded std\n"
     "dialektoi resolve."},
    {"std_dialektoi", std_dialektoi, METH_NOARGS,
     "std_dialektoi()\n--\n\nThe ids of the embedded std dialektoi."},
};

#undef ILVEX_CALL_KEYWORDS

// Adds `value` (a new reference, consumed) under `name` and appends the name
// to __all__, creating the list on the first addition.
bool add_exported(PyObject* module, const char* name, PyObject* value) {
    if (value == nullptr) return false;
    if (PyModule_AddObjectRef(module, name, value) < 0) {
        Py_DECREF(value);
        return false;
    }
    Py_DECREF(value);
    PyObject* all = PyObject_GetAttrString(module, "__all__");
    if (all == nullptr) {
        PyErr_Clear();
        all = PyList_New(0);
        if (all == nullptr || PyModule_AddObjectRef(module, "__all__", all) < 0) {
            Py_XDECREF(all);
            return false;
        }
    }
    PyObject* entry = PyUnicode_FromString(name);
    const bool appended = entry != nullptr && PyList_Append(all, entry) == 0;
    Py_XDECREF(entry);
    Py_DECREF(all);
    return appended;
}

bool register_module(PyObject* module) {
    PyObject* module_name = PyModule_GetNameObject(module);
    if (module_name == nullptr) return false;
    bool ok = true;
    for (PyMethodDef& method : methods) {
        ok = add_exported(module, method.ml_name, PyCFunction_NewEx(&method, module, module_name));
        if (!ok) break;
    }
    Py_DECREF(module_name);
    if (!ok) return false;
    PyObject* error_type = ilvex_error_type();
    Py_INCREF(error_type);
    return add_exported(module, "IlvexError", error_type);
}

int module_exec(PyObject* module) {
    PyObject* result = trap_panics([&]() -> PyObject* {
        if (!PyModule_Check(module)) {
            PyErr_Format(PyExc_TypeError, "'%s' object cannot be converted to 'PyModule'",
                         Py_TYPE(module)->tp_name);
            return nullptr;
        }
        if (!register_module(module)) return nullptr;
        Py_RETURN_NONE;
    });
    if (result == nullptr) return -1;
    Py_DECREF(result);
    return 0;
}

PyModuleDef_Slot slots[] = {
    {Py_mod_exec, reinterpret_cast<void*>(module_exec)},
    {0, nullptr},
};

PyModuleDef definition = {
    PyModuleDef_HEAD_INIT,
    "ilvex",  // m_name
    "",       // m_doc
    0,        // m_size: no module state
    nullptr,  // m_methods: the execution step adds the functions
    slots,
    nullptr,
    nullptr,
    nullptr,
};

}  // namespace
}  // namespace ilvex::py

PyMODINIT_FUNC PyInit_ilvex() { return PyModuleDef_Init(&ilvex::py::definition); }
