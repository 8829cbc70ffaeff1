// The UTF-8 of a `str`'s characters in NFC, encoded and normalized piece by
// piece into memory the call owns.
#pragma once

#include <Python.h>

#include <cstddef>
#include <memory>
#include <string_view>

#include "byte_buffer.hpp"

namespace ilvex::py {

// Holds the working memory of one text's normalization from piece to piece.
class NfcEncoder {
public:
    // Appends the NFC of characters [start, end) of the `str` `object` as
    // UTF-8 to `out`. The piece must end where normalizing the text piece
    // by piece gives what normalizing it whole would (after a line feed).
    // False at a lone surrogate, which has no UTF-8: `out` then holds an
    // unspecified part of the characters.
    bool append(PyObject* object, Py_ssize_t start, Py_ssize_t end, ByteBuffer& out);

private:
    bool append_ucs2(PyObject* object, Py_ssize_t start, Py_ssize_t end, ByteBuffer& out);
    std::u16string_view normalized(std::u16string_view text);
    void reserve_scratch(std::size_t room);

    std::unique_ptr<char16_t[]> scratch_;  // the NFC of a piece
    std::size_t scratch_room_ = 0;
};

}  // namespace ilvex::py
