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
