#include "str_builder.hpp"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <stdexcept>

#include "dialektos/memory_pages.hpp"

namespace ilvex::py {
namespace {

// Sources of at least this many bytes have their result decoded as it is
// written; below it the whole result is decoded at the end, in one go.
constexpr std::size_t bounded_source = 1 << 20;

// The UTF-8 gathered at most before it is decoded into the `str`: a small
// part of a large result, and large enough that taking the lock back for
// each is rare: with eight threads writing, a lock taken back for every
// 64 KB made them wait for one another longer than the copies took.
constexpr std::size_t gathered_bytes = 1024 * 1024;

// A buffer of megabytes is filled once, front to back, and usually freed
// soon after: faulting it in a page at a time costs more than writing it.
// The part of it that the result will surely fill gets large pages (a few
// faults for megabytes) if that part holds whole ones; the rest, where the
// result may end, gets its pages made present a step ahead of the writing,
// this many bytes at a time, each step in one call, so that little is
// present beyond the text when it ends.
constexpr std::size_t populated_bytes = 64 * 1024;

std::size_t data_bytes(PyObject* text) {
    return static_cast<std::size_t>(PyUnicode_GET_LENGTH(text)) * PyUnicode_KIND(text);
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

// Ends the `str` after its first `length` characters without giving back
// the room after them (a quarter of the block at most). A large block cut
// to size would be freed later at less than the next result of the same
// source asks for, and the allocator, which keeps in its heap only blocks
// as large as the largest one it was given back, would then map fresh
// pages for every next result, each page faulted in again (more than
// writing the text costs). Freed whole, the block makes the allocator serve
// the next result from its heap, pages already present. Room in freshly
// mapped pages that was never written holds no memory.
void keep_room(PyObject* text, std::size_t length) {
    reinterpret_cast<PyASCIIObject*>(text)->length = static_cast<Py_ssize_t>(length);
    PyUnicode_WRITE(PyUnicode_KIND(text), PyUnicode_DATA(text), length, 0);
}

}  // namespace

// A small result is gathered whole as UTF-8, with room for twice its
// source's: pages of it never written cost no memory.
StrBuilder::StrBuilder(PyObject* source, std::size_t source_size, std::size_t expected_length)
    : bounded_(source_size >= bounded_source),
      source_max_char_(PyUnicode_MAX_CHAR_VALUE(source)),
      expected_length_(expected_length),
      sure_length_(static_cast<std::size_t>(PyUnicode_GET_LENGTH(source)) / 10 * 9) {
    gathered_.reserve(bounded_ ? gathered_bytes : 2 * source_size + 4096);
}

void StrBuilder::append(std::string_view piece) {
    if (!bounded_) {
        gathered_.append(piece);
        return;
    }
    // A piece of half the buffer or more is decoded where it stands,
    // without being gathered first.
    if (gathered_.size() == 0 && piece.size() >= gathered_bytes / 2) {
        decode(piece);
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
        decode(gathered_.view());
        gathered_.truncate(0);
    }
}

// Decodes `text` where it stands: as much of it as built_ has room for at
// its width is checked as it is decoded, in one pass; the rest is measured
// first, taking the lock back only to make room in built_: other threads
// wait for the lock no longer than an allocation takes; the pages of the
// room are made present after it. (Writing the characters of built_ leaves
// every other object as it is, and no other thread can reach built_ yet.)
void StrBuilder::decode(std::string_view text) {
    if (built_ != nullptr) text = decode_into_room(text);
    if (!text.empty()) decode(text, measure(text));
}

// What is left of `text` once what fits built_ as it is was decoded: text
// past its room, from a character wider than it holds, or from bytes that
// are not UTF-8 (which measuring then refuses).
std::string_view StrBuilder::decode_into_room(std::string_view text) {
    const auto room = static_cast<std::size_t>(PyUnicode_GET_LENGTH(built_) - length_);
    // The characters to come, judged by the bytes a character took so far
    // (pages made present for more would be held past the result's end).
    const double bytes_per_character = std::max(
        1.0, static_cast<double>(decoded_bytes_) / static_cast<double>(std::max<Py_ssize_t>(length_, 1)));
    const auto expected = static_cast<std::size_t>(static_cast<double>(text.size()) / bytes_per_character);
    populate(length_ + static_cast<Py_ssize_t>(std::min(room, expected)));
    const int kind = PyUnicode_KIND(built_);
    char* const out = static_cast<char*>(PyUnicode_DATA(built_)) + static_cast<std::size_t>(length_) * kind;
    const Utf8Decoded done = decode_utf8_checked(text, PyUnicode_MAX_CHAR_VALUE(built_), out, room);
    if (done.extent.characters > 0) {
        length_ += static_cast<Py_ssize_t>(done.extent.characters);
        max_char_ = std::max(max_char_, done.extent.max_char);
        decoded_bytes_ += done.bytes;
    }
    return text.substr(done.bytes);
}

void StrBuilder::decode(std::string_view text, const Utf8Extent& extent) {
    if (text.empty()) return;
    const Py_ssize_t length = length_ + static_cast<Py_ssize_t>(extent.characters);
    if (released_ == nullptr) {
        make_room(length, extent.max_char);
    } else {
        released_->holding([&] { make_room(length, extent.max_char); });
    }
    populate(length);
    fill(text, extent);
}

void StrBuilder::place_rest() {
    if (!bounded_ || gathered_.size() == 0) return;
    const std::optional<Utf8Extent> extent = measure_utf8(gathered_.view());
    if (!extent) return;  // finish() refuses it
    decode(gathered_.view(), *extent);
    gathered_.truncate(0);
}

Utf8Extent StrBuilder::measure(std::string_view text) {
    const std::optional<Utf8Extent> extent = measure_utf8(text);
    if (!extent) throw std::runtime_error("written text is not UTF-8");
    return *extent;
}

// With the lock held: `text`, of `extent`, goes to the end of built_.
void StrBuilder::place(std::string_view text, const Utf8Extent& extent) {
    if (text.empty()) return;
    const Py_ssize_t length = length_ + static_cast<Py_ssize_t>(extent.characters);
    make_room(length, extent.max_char);
    populate(length);
    fill(text, extent);
}

// `text`, of `extent`, is decoded at the end of built_, which has room.
void StrBuilder::fill(std::string_view text, const Utf8Extent& extent) {
    const auto length = static_cast<Py_ssize_t>(extent.characters);
    const int kind = PyUnicode_KIND(built_);
    char* const out = static_cast<char*>(PyUnicode_DATA(built_)) + static_cast<std::size_t>(length_) * kind;
    // As many characters as bytes: all ASCII, copied as they stand.
    if (kind == PyUnicode_1BYTE_KIND && extent.characters == text.size()) {
        std::memcpy(out, text.data(), text.size());
    } else {
        decode_utf8(text, kind, out);
    }
    length_ += length;
    max_char_ = std::max(max_char_, extent.max_char);
    decoded_bytes_ += text.size();
}

// With the lock held: built_ takes `length` characters as wide as
// `max_char`, keeping the ones decoded so far. The caller makes the pages
// of the new room present (populate), which needs no lock.
void StrBuilder::make_room(Py_ssize_t length, Py_UCS4 max_char) {
    if (built_ == nullptr) {
        const Py_ssize_t capacity = std::max(static_cast<Py_ssize_t>(expected_length_), length);
        built_ = PyUnicode_New(capacity, std::max(source_max_char_, max_char));
        if (built_ == nullptr) throw_pending("no room for the result");
        prepare_pages();
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
        Py_SETREF(built_, wider);
        prepare_pages();
    } else if (length > capacity) {
        const Py_ssize_t grown = std::max(length, 2 * capacity);
        if (PyUnicode_Resize(&built_, grown) != 0) throw_pending("no room for the result");
        prepare_pages();
    }
}

// Large pages for the whole ones in bytes [from, to) of built_'s
// characters, remembered as the range that populate() leaves alone.
void StrBuilder::advise_large_pages(std::size_t from, std::size_t to) {
    const auto advised = ilvex::advise_large_pages(PyUnicode_DATA(built_), from, to);
    if (advised.second > advised.first) large_pages_ = advised;
}

// The part of built_ that the result will surely fill (a result about as
// long as its source) gets large pages; the rest only once the result has
// clearly outgrown its source.
void StrBuilder::prepare_pages() {
    large_pages_ = {0, 0};
    populated_ = 0;
    outgrown_ = false;
    advise_large_pages(0, std::min(sure_length_ * PyUnicode_KIND(built_), data_bytes(built_)));
}

// Makes the pages of built_ present up to character `length` and a step
// beyond, ahead of the writing, except those that come as large pages.
// Pages already present are left as they are; where the system cannot do
// it, the writing faults them in instead.
void StrBuilder::populate(Py_ssize_t length) {
    const std::size_t needed = static_cast<std::size_t>(length) * PyUnicode_KIND(built_);
    if (needed <= populated_) return;
    const std::size_t capacity = data_bytes(built_);
    // A result well past the length of its source (named sims, added
    // markup) is likely to go on growing: its pages come large again.
    if (!outgrown_ && needed > std::min(sure_length_ / 3 * 4 * PyUnicode_KIND(built_), capacity)) {
        outgrown_ = true;
        advise_large_pages(std::max(populated_, needed), capacity);
    }
    std::size_t from = populated_;
    if (from >= large_pages_.first && from < large_pages_.second) from = large_pages_.second;
    const std::size_t target = std::min(capacity, std::max(needed, from + populated_bytes));
    populated_ = std::max(populated_, target);
    make_pages_present(PyUnicode_DATA(built_), from, target);
}

PyObject* StrBuilder::finish() && {
    if (!bounded_) {
        return PyUnicode_DecodeUTF8(gathered_.data(), static_cast<Py_ssize_t>(gathered_.size()), "strict");
    }
    place(gathered_.view(), measure(gathered_.view()));
    if (built_ == nullptr) return PyUnicode_New(0, 0);
    if (max_char_ < PyUnicode_MAX_CHAR_VALUE(built_)) {
        // No character came as wide as the source's: the str is made anew
        // at the width of its own widest.
        return PyUnicode_FromKindAndData(PyUnicode_KIND(built_), PyUnicode_DATA(built_), length_);
    }
    if (length_ < PyUnicode_GET_LENGTH(built_)) {
        // Only for an ASCII source, which the call reads where it stands. A
        // call on any other source also frees a UTF-8 copy of it about as
        // large as the result: the two given back to the heap at once are
        // more than the allocator keeps, and it would trim its heap and
        // fault both in again on every call; such a result is cut to size.
        if (source_max_char_ < 0x80 && length_ + length_ / 3 >= PyUnicode_GET_LENGTH(built_)) {
            keep_room(built_, length_);
        } else if (PyUnicode_Resize(&built_, length_) != 0) {
            return nullptr;
        }
    }
    PyObject* built = built_;
    built_ = nullptr;
    return built;
}

}  // namespace ilvex::py
