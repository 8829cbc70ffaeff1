// The UTF-8 of a `str`'s characters, encoded by the module into memory the
// call owns (the interpreter's own encoding would stay attached to the
// caller's `str` for its whole life).
#pragma once

#include <Python.h>

#include "byte_buffer.hpp"

namespace ilvex::py {

// The most UTF-8 bytes one character of `object` can take.
std::size_t utf8_bytes_per_char(PyObject* object);

// Appends the UTF-8 of characters [start, end) of the `str` `object` to
// `out`. False at a lone surrogate, which has no UTF-8: `out` then holds
// an unspecified part of the characters.
bool append_utf8(PyObject* object, Py_ssize_t start, Py_ssize_t end, ByteBuffer& out);

}  // namespace ilvex::py
