// A `str` assembled from pieces of UTF-8 text as a writer hands them over.
#pragma once

#include <Python.h>

#include <cstddef>
#include <string_view>
#include <vector>

#include "byte_buffer.hpp"

namespace ilvex::py {

// The pieces are gathered as UTF-8 in memory of the module's own, so that
// appending touches no Python object and may go on while the interpreter
// lock is released; the `str` is made by finish(), with the lock held. A
// small result is one buffer, decoded in one go. A large one is a list of
// bounded chunks: finish() decodes them one by one into the `str` and gives
// each chunk's memory back as soon as it is decoded, so the peak is about
// the larger of the UTF-8 and the `str`, not both. An allocation failure
// throws std::bad_alloc, which the function body turns into MemoryError.
class StrBuilder {
public:
    // For a text written from a source of `source_size` bytes.
    explicit StrBuilder(std::size_t source_size);

    void append(std::string_view piece);

    // The `str` (a new reference), or null with an exception set. Only with
    // the lock held.
    PyObject* finish() &&;

private:
    PyObject* join_chunks();
    void start_chunk();

    std::vector<ByteBuffer> chunks_;  // the last one is being filled
};

}  // namespace ilvex::py
