// An allocator for the large buffers of one outline, which are given back
// to the system as soon as they are freed, or in part while still in use.
#pragma once

#include <cstddef>

namespace ilvex {

// A buffer of `size` bytes; a large one has pages of its own, which the
// heap would otherwise keep after it is freed, while the outline's result
// (far larger) is built.
void* allocate_own_pages(std::size_t size);
void deallocate_own_pages(void* data, std::size_t size);
// Gives the whole pages of [data, data + size) back to the system; they
// read as zeros afterwards. Nothing for a buffer that was not large.
void release_own_pages(void* data, std::size_t size, std::size_t buffer_size);

// Makes the pages of a large buffer present from byte `from` a step ahead,
// in one call, and tells where the present part ends; nothing for a buffer
// that was not large (it tells the buffer's end).
std::size_t make_own_pages_present(const void* data, std::size_t from, std::size_t buffer_size);

// Keeps the pages of a buffer that is filled front to back present a step
// ahead of the filling: writing would fault them in one at a time, which on
// a virtual machine costs several times as much as one call for the step.
class PresentAhead {
public:
    // Tells that the first `filled` bytes of the `buffer_size` at `data`
    // are written; a buffer at another place starts over.
    void reach(const void* data, std::size_t filled, std::size_t buffer_size) {
        if (data != data_) {
            data_ = data;
            present_ = 0;
        }
        if (filled >= present_) present_ = make_own_pages_present(data, filled, buffer_size);
    }

private:
    const void* data_ = nullptr;
    std::size_t present_ = 0;
};

template <class T>
struct OwnPagesAllocator {
    using value_type = T;

    OwnPagesAllocator() = default;
    template <class U>
    OwnPagesAllocator(const OwnPagesAllocator<U>&) {}

    T* allocate(std::size_t count) { return static_cast<T*>(allocate_own_pages(count * sizeof(T))); }
    void deallocate(T* data, std::size_t count) { deallocate_own_pages(data, count * sizeof(T)); }
    template <class U>
    bool operator==(const OwnPagesAllocator<U>&) const { return true; }
};

}  // namespace ilvex
