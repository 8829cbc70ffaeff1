#include "str_builder.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include <sys/mman.h>

#include "dialektos/unicode.hpp"

namespace ilvex::py {
namespace {

// A buffer of many megabytes is filled once, front to back, and usually
// freed soon after: faulting it in page by page costs more than writing it.
// Large pages for the part that holds whole ones make that a few faults.
void advise_large_pages(void* data, std::size_t size) {
    constexpr std::uintptr_t large_page = 2 * 1024 * 1024;
    if (size < 4 * large_page) return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + large_page - 1) & ~(large_page - 1);
    const std::uintptr_t end = (start + size) & ~(large_page - 1);
    if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

// The widest character of the width that holds `c`: what PyUnicode_New
// takes as the bound of a buffer.
Py_UCS4 width_bound(Py_UCS4 c) {
    if (c < 0x80) return 0x7F;
    if (c < 0x100) return 0xFF;
    if (c < 0x10000) return 0xFFFF;
    return 0x10FFFF;
}

}  // namespace

// A written text is about as long as its source, longer where sims are
// written by name or markup is added. The room is reserved generously:
// pages of it that are never written cost no memory, while outgrowing it
// would copy the whole text into a larger buffer, with both alive at once.
StrBuilder::StrBuilder(std::size_t source_size, Py_UCS4 source_maxchar) {
    reallocate(2 * source_size + 4096, width_bound(source_maxchar));
}

void StrBuilder::reallocate(std::size_t capacity, Py_UCS4 maxchar) {
    if (built_ != nullptr && maxchar == buffer_maxchar_) {
        // The same width: a resize, which moves nothing of a large buffer.
        if (PyUnicode_Resize(&built_, static_cast<Py_ssize_t>(capacity)) != 0) {
            PyErr_Clear();
            throw std::bad_alloc();
        }
    } else {
        PyObject* fresh = PyUnicode_New(static_cast<Py_ssize_t>(capacity), maxchar);
        if (fresh == nullptr) {
            PyErr_Clear();
            throw std::bad_alloc();
        }
        if (length_ > 0 && PyUnicode_CopyCharacters(fresh, 0, built_, 0, static_cast<Py_ssize_t>(length_)) < 0) {
            PyErr_Clear();
            Py_DECREF(fresh);
            throw std::bad_alloc();
        }
        Py_XDECREF(built_);
        built_ = fresh;
    }
    capacity_ = capacity;
    buffer_maxchar_ = maxchar;
    advise_large_pages(PyUnicode_DATA(built_), capacity * PyUnicode_KIND(built_));
}

void StrBuilder::append(std::string_view piece) {
    // Every character takes at least one byte of UTF-8.
    if (length_ + piece.size() > capacity_) {
        reallocate(std::max(length_ + piece.size(), 2 * capacity_), buffer_maxchar_);
    }
    if (PyUnicode_KIND(built_) == PyUnicode_1BYTE_KIND && unicode::is_ascii(piece)) {
        std::memcpy(PyUnicode_1BYTE_DATA(built_) + length_, piece.data(), piece.size());
        length_ += piece.size();
        return;
    }
    append_decoded(piece);
}

// Decoded here rather than by the interpreter, so that only a reallocation
// calls into it. The text is UTF-8 from valid sources; an ill-formed
// sequence would be written as U+FFFD.
void StrBuilder::append_decoded(std::string_view piece) {
    for (std::size_t i = 0; i < piece.size();) {
        const auto byte = static_cast<unsigned char>(piece[i]);
        Py_UCS4 c = byte;
        if (byte < 0x80) {
            ++i;
        } else {
            c = unicode::next_char(piece, i);
        }
        if (c > buffer_maxchar_) reallocate(capacity_, width_bound(c));
        maxchar_ = std::max(maxchar_, c);
        PyUnicode_WRITE(PyUnicode_KIND(built_), PyUnicode_DATA(built_), length_, c);
        ++length_;
    }
}

PyObject* StrBuilder::finish() && {
    if (width_bound(maxchar_) != buffer_maxchar_) {
        // Narrower than its buffer: a copy of its own width.
        return PyUnicode_FromKindAndData(PyUnicode_KIND(built_), PyUnicode_DATA(built_),
                                         static_cast<Py_ssize_t>(length_));
    }
    if (length_ < capacity_ && PyUnicode_Resize(&built_, static_cast<Py_ssize_t>(length_)) != 0) return nullptr;
    PyObject* built = built_;
    built_ = nullptr;
    return built;
}

}  // namespace ilvex::py
