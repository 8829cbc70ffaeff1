// A `str` assembled from pieces of UTF-8 text as a writer hands them over.
#pragma once

#include <Python.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "lock_release.hpp"

namespace ilvex::py {

// ASCII pieces are copied straight into the buffer of the `str` being built,
// which grows when the expected size falls short and is cut to size at the
// end unless little room is left over, so a large result is never held twice
// (once as UTF-8, once as the `str`). From the first piece that is not ASCII on, the text is gathered as
// UTF-8 and decoded at the end. An allocation failure throws std::bad_alloc,
// which the function body turns into MemoryError. Pieces may be appended
// while the interpreter lock is released (see work_without_lock); the
// builder takes it back for the rare step that touches the `str` as an
// object.
class StrBuilder {
public:
    // For a text written from a source of `source_size` bytes; one written
    // from a source that is not ASCII is gathered as UTF-8 from the start.
    // `expected_size` is the caller's guess of the text's size when it knows
    // better than the default, twice the source; it sizes the `str` an ASCII
    // source starts with.
    StrBuilder(std::size_t source_size, bool ascii_source, std::size_t expected_size = 0);
    ~StrBuilder() { Py_XDECREF(ascii_); }
    StrBuilder(const StrBuilder&) = delete;
    StrBuilder& operator=(const StrBuilder&) = delete;

    // Pieces come while `released` holds the lock released, until this is
    // called again with null.
    void work_without_lock(const LockRelease* released) { released_ = released; }

    void append(std::string_view piece);

    // The `str` (a new reference), or null with an exception set.
    PyObject* finish() &&;

private:
    void resize(std::size_t capacity);
    void switch_to_utf8();

    // The ASCII `str` being filled; once the text is gathered as UTF-8 it is
    // left alone until the lock is held again.
    PyObject* ascii_ = nullptr;
    bool gathering_utf8_ = false;
    const LockRelease* released_ = nullptr;
    std::size_t length_ = 0;     // characters written into `ascii_`
    std::size_t capacity_ = 0;
    std::size_t utf8_room_ = 0;  // reserved for the text once gathered as UTF-8
    std::string utf8_;  // the text, once a piece was not ASCII
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
    return std::forward<Body>(body)();
}

}  // namespace ilvex::py
