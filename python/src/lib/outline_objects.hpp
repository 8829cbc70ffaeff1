// The outline as plain Python dicts and lists.
#pragma once

#include <Python.h>

#include "dendron/outline.hpp"

namespace ilvex::py {

// A new dict with the keys "dialektos", "blocks", "milestones", "onyms" and
// "deixes", in that order; null with a pending exception on failure. The
// outline's memory is given back as it is read: afterwards it only serves
// to be destroyed.
PyObject* outline_to_py(Outline& outline);

}  // namespace ilvex::py
