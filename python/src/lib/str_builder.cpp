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

// Ends the ASCII `str` after its first `length` characters without giving
// back the room after them (a quarter of the block at most). Cutting a large
// block to size moves its end, and the allocator, which sizes its reuse of
// large blocks by the last one given back, would then map fresh pages for
// every next result of the same size, faulting each page in again, which
// costs more than writing the text. Left whole, the block is reused by the
// next call. Room in freshly mapped pages that was never written holds no
// memory.
void keep_room(PyObject* ascii, std::size_t length) {
    reinterpret_cast<PyASCIIObject*>(ascii)->length = static_cast<Py_ssize_t>(length);
    PyUnicode_1BYTE_DATA(ascii)[length] = '\0';
}

}  // namespace

// A written text is about as long as its source, longer where sims are
// written by name or markup is added. The UTF-8 text is reserved
// generously: pages of it that are never written cost no memory, while
// outgrowing it would copy the whole text into a larger buffer, with both
// alive at once. The `str` grows in place where the allocator can, so it
// starts from the caller's guess when there is one.
StrBuilder::StrBuilder(std::size_t source_size, bool ascii_source, std::size_t expected_size) {
    utf8_room_ = 2 * source_size + 4096;
    if (!ascii_source) {
        gathering_utf8_ = true;
        utf8_.reserve(utf8_room_);
        advise_large_pages(utf8_.data(), utf8_.capacity());
        return;
    }
    resize(expected_size != 0 ? expected_size : utf8_room_);
}

void StrBuilder::resize(std::size_t capacity) {
    // A failed resize leaves the str as it was, for the destructor to release.
    const bool resized = ascii_ == nullptr
                             ? (ascii_ = PyUnicode_New(static_cast<Py_ssize_t>(capacity), 127)) != nullptr
                             : PyUnicode_Resize(&ascii_, static_cast<Py_ssize_t>(capacity)) == 0;
    if (!resized) {
        PyErr_Clear();
        throw std::bad_alloc();
    }
    capacity_ = capacity;
    advise_large_pages(PyUnicode_1BYTE_DATA(ascii_), capacity);
}

void StrBuilder::switch_to_utf8() {
    utf8_.reserve(std::max(capacity_, utf8_room_));
    advise_large_pages(utf8_.data(), utf8_.capacity());
    utf8_.assign(reinterpret_cast<const char*>(PyUnicode_1BYTE_DATA(ascii_)), length_);
    gathering_utf8_ = true;
}

void StrBuilder::append(std::string_view piece) {
    if (!gathering_utf8_ && !unicode::is_ascii(piece)) switch_to_utf8();
    if (gathering_utf8_) {
        utf8_ += piece;
        return;
    }
    if (length_ + piece.size() > capacity_) {
        const std::size_t capacity = std::max(length_ + piece.size(), capacity_ + capacity_ / 2);
        if (released_ == nullptr) {
            resize(capacity);
        } else {
            released_->holding([&] { resize(capacity); });
        }
    }
    std::memcpy(PyUnicode_1BYTE_DATA(ascii_) + length_, piece.data(), piece.size());
    length_ += piece.size();
}

PyObject* StrBuilder::finish() && {
    if (gathering_utf8_) {
        Py_CLEAR(ascii_);
        return PyUnicode_DecodeUTF8(utf8_.data(), static_cast<Py_ssize_t>(utf8_.size()), "strict");
    }
    if (length_ + length_ / 3 < capacity_) {
        resize(length_);
    } else {
        keep_room(ascii_, length_);
    }
    PyObject* built = ascii_;
    ascii_ = nullptr;
    return built;
}

}  // namespace ilvex::py
