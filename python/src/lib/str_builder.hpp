// A `str` assembled from pieces of UTF-8 text as a writer hands them over.
#pragma once

#include <Python.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace ilvex::py {

// ASCII pieces are copied straight into the buffer of the `str` being built,
// which grows when the expected size falls short and is cut to size at the
// end, so a large result is never held twice (once as UTF-8, once as the
// `str`). From the first piece that is not ASCII on, the text is gathered as
// UTF-8 and decoded at the end. An allocation failure throws std::bad_alloc,
// which the function body turns into MemoryError.
class StrBuilder {
public:
    // For a text written from a source of `source_size` bytes; one written
    // from a source that is not ASCII is gathered as UTF-8 from the start.
    StrBuilder(std::size_t source_size, bool ascii_source);
    ~StrBuilder() { Py_XDECREF(ascii_); }
    StrBuilder(const StrBuilder&) = delete;
    StrBuilder& operator=(const StrBuilder&) = delete;

    void append(std::string_view piece);

    // The `str` (a new reference), or null with an exception set.
    PyObject* finish() &&;

private:
    void resize(std::size_t capacity);
    void switch_to_utf8();

    PyObject* ascii_ = nullptr;  // the ASCII `str` being filled; null once switched
    std::size_t length_ = 0;     // characters written into `ascii_`
    std::size_t capacity_ = 0;
    std::string utf8_;  // the text, once a piece was not ASCII
};

}  // namespace ilvex::py
