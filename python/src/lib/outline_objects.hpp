// The outline as plain Python dicts and lists.
#pragma once

#include <Python.h>

#include "dendron/outline.hpp"

namespace ilvex::py {

// A new dict with the keys "dialektos", "blocks", "milestones", "onyms" and
// "deixes", in that order; null with a pending exception on failure.
PyObject* outline_to_py(const Outline& outline);

}  // namespace ilvex::py
