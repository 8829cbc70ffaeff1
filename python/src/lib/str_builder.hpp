// A `str` assembled from pieces of UTF-8 text as a writer hands them over.
#pragma once

#include <Python.h>

#include <cstddef>
#include <string_view>

namespace ilvex::py {

// The pieces are decoded straight into the buffer of the `str` being built
// (ASCII ones copied as they are), which grows when the expected size falls
// short and is cut to size at the end, so a large result is never held
// twice (once as UTF-8, once as the `str`). The buffer starts with the
// character width of the source, which a written text nearly always keeps;
// a wider character widens it, and a text left narrower than its buffer is
// copied to its own width at the end, as every `str` must have. An
// allocation failure throws std::bad_alloc, which the function body turns
// into MemoryError. Only the constructor, a reallocation (when the room
// runs out or a wider character comes) and finish() call the interpreter;
// the rest writes into the buffer alone.
class StrBuilder {
public:
    // For a text written from a source of `source_size` bytes of UTF-8 whose
    // widest character is at most `source_maxchar`.
    StrBuilder(std::size_t source_size, Py_UCS4 source_maxchar);
    ~StrBuilder() { Py_XDECREF(built_); }
    StrBuilder(const StrBuilder&) = delete;
    StrBuilder& operator=(const StrBuilder&) = delete;

    void append(std::string_view piece);

    // The `str` (a new reference), or null with an exception set.
    PyObject* finish() &&;

private:
    // A new buffer of `capacity` characters up to `maxchar`, holding the
    // characters written so far.
    void reallocate(std::size_t capacity, Py_UCS4 maxchar);
    void append_decoded(std::string_view piece);

    PyObject* built_ = nullptr;  // the `str` being filled
    std::size_t length_ = 0;     // characters written into `built_`
    std::size_t capacity_ = 0;
    Py_UCS4 buffer_maxchar_ = 0;  // the widest character `built_` can hold
    Py_UCS4 maxchar_ = 0;         // the widest character written
};

}  // namespace ilvex::py
