#include "str_builder.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>

#include <sys/mman.h>

#include "dialektos/unicode.hpp"

namespace ilvex::py {
namespace {

// Sources of at least this many bytes have their result decoded as it is
// written; below it the whole result is decoded at the end, in one go.
constexpr std::size_t bounded_source = 1 << 20;

// The UTF-8 gathered at most before it is decoded into the `str`: small
// enough to stay in the cache and to be a small part of a large result,
// large enough that taking the lock back for each is rare.
constexpr std::size_t gathered_bytes = 64 * 1024;

// A buffer of many megabytes is filled once, front to back, and usually
// freed soon after: faulting it in page by page costs more than writing it.
// Large pages for the part that holds whole ones make that a few faults.
void advise_large_pages(PyObject* text) {
    constexpr std::uintptr_t large_page = 2 * 1024 * 1024;
    const std::size_t size = static_cast<std::size_t>(PyUnicode_GET_LENGTH(text)) * PyUnicode_KIND(text);
    if (size < 4 * large_page) return;
    const auto start = reinterpret_cast<std::uintptr_t>(PyUnicode_DATA(text));
    const std::uintptr_t first = (start + large_page - 1) & ~(large_page - 1);
    const std::uintptr_t end = (start + size) & ~(large_page - 1);
    if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

// The length of the longest prefix of `piece` that fits `room` bytes and
// ends on a character boundary.
std::size_t fitting_prefix(std::string_view piece, std::size_t room) {
    if (piece.size() <= room) return piece.size();
    std::size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(piece[cut]) & 0xC0) == 0x80) --cut;
    return cut;
}

// Turns the pending Python error of a failed step into the C++ exception
// that unwinds the core's work: MemoryError as std::bad_alloc.
[[noreturn]] void throw_pending(const char* what) {
    const bool no_memory = PyErr_ExceptionMatches(PyExc_MemoryError);
    PyErr_Clear();
    if (no_memory) throw std::bad_alloc();
    throw std::runtime_error(what);
}

}  // namespace

// A written text is about as long as its source, longer where sims are
// written by name or markup is added. The room is reserved generously:
// pages of it that are never written cost no memory, while outgrowing it
// would copy the whole text into a larger buffer, with both alive at once.
StrBuilder::StrBuilder(PyObject* source, std::size_t source_size)
    : bounded_(source_size >= bounded_source),
      source_max_char_(PyUnicode_MAX_CHAR_VALUE(source)),
      expected_length_(2 * source_size + 4096) {
    gathered_.reserve(bounded_ ? gathered_bytes : expected_length_);
}

void StrBuilder::append(std::string_view piece) {
    if (!bounded_) {
        gathered_.append(piece);
        return;
    }
    while (!piece.empty()) {
        std::size_t fits = fitting_prefix(piece, gathered_.room());
        // Only bytes that are not UTF-8 have no character boundary in reach
        // of a whole buffer: they are kept whole, for the decoding to refuse.
        if (fits == 0 && gathered_.size() == 0) fits = piece.size();
        gathered_.append(piece.substr(0, fits));
        piece.remove_prefix(fits);
        if (piece.empty()) break;
        if (released_ == nullptr) {
            decode_gathered();
        } else {
            released_->holding([&] { decode_gathered(); });
        }
    }
}

// With the lock held: the gathered text goes to the end of built_.
void StrBuilder::decode_gathered() {
    const std::string_view text = gathered_.view();
    if (text.empty()) return;
    const auto ascii_length = static_cast<Py_ssize_t>(text.size());
    if (unicode::is_ascii(text)) {
        make_room(length_ + ascii_length, 0x7F);
        if (PyUnicode_KIND(built_) == PyUnicode_1BYTE_KIND) {
            std::memcpy(PyUnicode_1BYTE_DATA(built_) + length_, text.data(), text.size());
            length_ += ascii_length;
            max_char_ = std::max<Py_UCS4>(max_char_, 0x7F);
            gathered_.truncate(0);
            return;
        }
    }
    PyObject* part = PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "strict");
    if (part == nullptr) throw_pending("written text is not UTF-8");
    const Py_ssize_t length = PyUnicode_GET_LENGTH(part);
    const Py_UCS4 max_char = PyUnicode_MAX_CHAR_VALUE(part);
    try {
        make_room(length_ + length, max_char);
    } catch (...) {
        Py_DECREF(part);
        throw;
    }
    const Py_ssize_t copied = PyUnicode_CopyCharacters(built_, length_, part, 0, length);
    Py_DECREF(part);
    if (copied != length) throw_pending("written text could not be copied");
    length_ += length;
    max_char_ = std::max(max_char_, max_char);
    gathered_.truncate(0);
}

// With the lock held: built_ takes `length` characters as wide as
// `max_char`, keeping the ones decoded so far.
void StrBuilder::make_room(Py_ssize_t length, Py_UCS4 max_char) {
    if (built_ == nullptr) {
        const Py_ssize_t capacity = std::max(static_cast<Py_ssize_t>(expected_length_), length);
        built_ = PyUnicode_New(capacity, std::max(source_max_char_, max_char));
        if (built_ == nullptr) throw_pending("no room for the result");
        advise_large_pages(built_);
        return;
    }
    const Py_ssize_t capacity = PyUnicode_GET_LENGTH(built_);
    if (max_char > PyUnicode_MAX_CHAR_VALUE(built_)) {
        PyObject* wider = PyUnicode_New(std::max(capacity, length), max_char);
        if (wider == nullptr) throw_pending("no room for the result");
        if (length_ > 0 && PyUnicode_CopyCharacters(wider, 0, built_, 0, length_) != length_) {
            Py_DECREF(wider);
            throw_pending("written text could not be copied");
        }
        advise_large_pages(wider);
        Py_SETREF(built_, wider);
    } else if (length > capacity) {
        const Py_ssize_t grown = std::max(length, 2 * capacity);
        if (PyUnicode_Resize(&built_, grown) != 0) throw_pending("no room for the result");
        advise_large_pages(built_);
    }
}

PyObject* StrBuilder::finish() && {
    if (!bounded_) {
        return PyUnicode_DecodeUTF8(gathered_.data(), static_cast<Py_ssize_t>(gathered_.size()), "strict");
    }
    decode_gathered();
    if (built_ == nullptr) return PyUnicode_New(0, 0);
    if (max_char_ < PyUnicode_MAX_CHAR_VALUE(built_)) {
        // No character came as wide as the source's: the str is made anew
        // at the width of its own widest.
        return PyUnicode_FromKindAndData(PyUnicode_KIND(built_), PyUnicode_DATA(built_), length_);
    }
    if (length_ < PyUnicode_GET_LENGTH(built_) && PyUnicode_Resize(&built_, length_) != 0) return nullptr;
    PyObject* built = built_;
    built_ = nullptr;
    return built;
}

}  // namespace ilvex::py
