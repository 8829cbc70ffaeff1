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
// call's own copy) and writes memory of its own: no Python object is
// created, changed or freed. A step that has to touch one (decoding written
// text into the `str` being built) takes the lock back through holding().
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

    // Runs `body` with the lock held, and releases it again afterwards, also
    // when `body` throws.
    template <class Body>
    decltype(auto) holding(Body&& body) const {
        const Reacquired held(saved_);
        return std::forward<Body>(body)();
    }

private:
    class Reacquired {
    public:
        explicit Reacquired(PyThreadState* saved) : saved_(saved) {
            if (saved_ != nullptr) PyEval_RestoreThread(saved_);
        }
        ~Reacquired() {
            if (saved_ != nullptr) PyEval_SaveThread();
        }
        Reacquired(const Reacquired&) = delete;
        Reacquired& operator=(const Reacquired&) = delete;

    private:
        PyThreadState* saved_;
    };

    PyThreadState* saved_;  // null when the lock was kept
};

// Runs `body` without the lock when `work_size` is long enough (see
// LockRelease); its result must hold no Python object.
template <class Body>
decltype(auto) without_lock(std::size_t work_size, Body&& body) {
    const LockRelease released(work_size);
    return std::forward<Body>(body)();
}

}  // namespace ilvex::py
