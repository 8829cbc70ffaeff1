// The UTF-8 of a `str`'s characters, encoded by the module into memory the
// call owns (the interpreter's own encoding would stay attached to the
// caller's `str` for its whole life), and UTF-8 decoded straight into the
// characters of a `str`.
#pragma once

#include <Python.h>

#include <optional>
#include <string>
#include <string_view>

#include "byte_buffer.hpp"

namespace ilvex::py {

// The room append_utf8 asks for to encode `count` characters of `object`:
// their longest encoding, and a few bytes of working room.
std::size_t utf8_room(PyObject* object, std::size_t count);

// Appends the UTF-8 of characters [start, end) of the `str` `object` to
// `out`. False at a lone surrogate, which has no UTF-8: `out` then holds
// an unspecified part of the characters.
bool append_utf8(PyObject* object, Py_ssize_t start, Py_ssize_t end, ByteBuffer& out);

// Appends the UTF-8 of the UTF-16 `text` to `out`. False at a lone
// surrogate, as above.
bool append_utf8(std::u16string_view text, ByteBuffer& out);

// The characters of UTF-8 text and the widest of them.
struct Utf8Extent {
    std::size_t characters = 0;
    Py_UCS4 max_char = 0;
};

// The extent of `text`; nothing when it is not well-formed UTF-8.
std::optional<Utf8Extent> measure_utf8(std::string_view text);

// Decodes `text`, which measure_utf8 found well-formed, into `out`, an array
// of characters of `kind` (a PyUnicode kind wide enough for them).
void decode_utf8(std::string_view text, int kind, void* out);

// What decode_utf8_checked took: the bytes, and the extent of their characters.
struct Utf8Decoded {
    std::size_t bytes = 0;
    Utf8Extent extent;
};

// Decodes the longest prefix of `text` that is well-formed UTF-8, of
// characters up to `max_char` (the PyUnicode_MAX_CHAR_VALUE of the `str`
// written to) and of at most `room` characters, into `out` (that `str`'s
// characters, where it has that room), checking it as measure_utf8 does in
// the same pass. What is left begins at a character that did not fit or was
// too wide, or at bytes that are not UTF-8.
Utf8Decoded decode_utf8_checked(std::string_view text, Py_UCS4 max_char, void* out, std::size_t room);

}  // namespace ilvex::py
