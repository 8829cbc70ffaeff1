// Lets other Python threads run while this one works on text it has already
// taken from the caller.
#pragma once

#include <Python.h>

#include <cstddef>
#include <utility>

namespace ilvex::py {

// Releases the interpreter lock for its lifetime when the work at hand is
// long enough for other threads to gain from it: a call on a tiny input
// would spend more on the hand-over than on its work. While released, the
// core only reads text the call keeps alive (the caller's `str`, or the
// call's own copy) and writes memory of its own (a result is gathered in a
// StrBuilder): no Python object is created, changed or freed.
class LockRelease {
public:
    // Inputs of at least this many bytes are worked on without the lock.
    static constexpr std::size_t threshold = 4096;

    explicit LockRelease(std::size_t work_size)
        : saved_(work_size >= threshold ? PyEval_SaveThread() : nullptr) {}
    ~LockRelease() {
        if (saved_ != nullptr) PyEval_RestoreThread(saved_);
    }
    LockRelease(const LockRelease&) = delete;
    LockRelease& operator=(const LockRelease&) = delete;

private:
    PyThreadState* saved_;  // null when the lock was kept
};

// Runs `body` without the lock when `work_size` is long enough (see
// LockRelease); it must touch no Python object.
template <class Body>
decltype(auto) without_lock(std::size_t work_size, Body&& body) {
    const LockRelease released(work_size);
    return std::forward<Body>(body)();
}

}  // namespace ilvex::py
