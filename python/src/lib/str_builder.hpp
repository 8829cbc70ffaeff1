// A `str` assembled from pieces of UTF-8 text as a writer hands them over.
#pragma once

#include <Python.h>

#include <cstddef>
#include <string_view>
#include <utility>

#include "byte_buffer.hpp"
#include "lock_release.hpp"
#include "str_utf8.hpp"

namespace ilvex::py {

// Pieces are gathered as UTF-8 in a buffer of the module's own, which
// appending may fill while the interpreter lock is released: no Python
// object is touched there. A result of a small source is decoded in one go
// by finish(). For a large source the buffer is bounded: each time it is
// full (or a piece comes that is large by itself) the text is decoded where
// it stands into the `str` under construction (checked as it is decoded
// where that `str` has room for it, measured first where it must grow), so
// that a large result is held once, as the `str`, and never also whole as
// UTF-8.
// The lock is taken back only to make or grow that `str`: its characters
// are written without it, as no other thread can reach the object yet. That `str` starts
// at the width of the source's widest character (usually the result's as
// well), is widened if a wider character comes, and is narrowed at the end
// if none as wide came. An allocation failure throws std::bad_alloc, which
// the function body turns into MemoryError.
class StrBuilder {
public:
    // For a text written from the `str` `source`, whose UTF-8 is
    // `source_size` bytes long, and expected to be about `expected_length`
    // characters long: a large result's `str` starts with room for that
    // many, which it keeps if it fills most of it (see finish()).
    StrBuilder(PyObject* source, std::size_t source_size, std::size_t expected_length);
    ~StrBuilder() { Py_XDECREF(built_); }
    StrBuilder(const StrBuilder&) = delete;
    StrBuilder& operator=(const StrBuilder&) = delete;

    // Pieces come while `released` holds the lock released, until this is
    // called again with null.
    void work_without_lock(const LockRelease* released) { released_ = released; }

    void append(std::string_view piece);

    // Decodes the text gathered last into the `str` of a large result while
    // the lock is still released: finish() then has only to end it.
    void place_rest();

    // The `str` (a new reference), or null with an exception set. Only with
    // the lock held.
    PyObject* finish() &&;

private:
    void decode(std::string_view text);
    std::string_view decode_into_room(std::string_view text);
    void decode(std::string_view text, const Utf8Extent& extent);
    static Utf8Extent measure(std::string_view text);
    void place(std::string_view text, const Utf8Extent& extent);
    void fill(std::string_view text, const Utf8Extent& extent);
    void make_room(Py_ssize_t length, Py_UCS4 max_char);
    void advise_large_pages(std::size_t from, std::size_t to);
    void prepare_pages();
    void populate(Py_ssize_t length);

    ByteBuffer gathered_;
    bool bounded_;                  // whether the gathered text goes to built_ as it fills
    Py_UCS4 source_max_char_;
    std::size_t expected_length_;   // characters reserved for built_ at first
    std::size_t sure_length_;       // characters the result is almost sure to reach
    PyObject* built_ = nullptr;     // the str under construction, once bounded_ text was decoded
    Py_ssize_t length_ = 0;         // characters decoded into built_
    std::size_t decoded_bytes_ = 0; // the UTF-8 bytes they came from
    Py_UCS4 max_char_ = 0;          // the widest of them
    // Byte offsets in built_'s characters: the range given large pages, and
    // how far pages were made present.
    std::pair<std::size_t, std::size_t> large_pages_{0, 0};
    std::size_t populated_ = 0;
    bool outgrown_ = false;         // whether the result went past the part surely filled
    const LockRelease* released_ = nullptr;
};

// Runs `body`, which appends to `built`, without the lock when `work_size`
// is long enough (see LockRelease).
template <class Body>
decltype(auto) without_lock_into(StrBuilder& built, std::size_t work_size, Body&& body) {
    struct Released {
        Released(StrBuilder& built, std::size_t work_size) : built(built), lock(work_size) {
            built.work_without_lock(&lock);
        }
        ~Released() { built.work_without_lock(nullptr); }
        StrBuilder& built;
        LockRelease lock;
    } released(built, work_size);
    auto result = std::forward<Body>(body)();
    built.place_rest();
    return result;
}

}  // namespace ilvex::py
