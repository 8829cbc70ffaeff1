#include "dendron/own_pages.hpp"

#include <algorithm>
#include <new>

#include <sys/mman.h>

#include "dialektos/memory_pages.hpp"

namespace ilvex {
namespace {

constexpr std::size_t own_pages_from = 1 << 20;  // bytes
constexpr std::size_t present_step = 256 * 1024;  // bytes

}  // namespace

void* allocate_own_pages(std::size_t size) {
    if (size < own_pages_from) return ::operator new(size);
    void* data = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (data == MAP_FAILED) throw std::bad_alloc();
    return data;
}

void deallocate_own_pages(void* data, std::size_t size) {
    if (size < own_pages_from) {
        ::operator delete(data);
        return;
    }
    munmap(data, size);
}

std::size_t make_own_pages_present(const void* data, std::size_t from, std::size_t buffer_size) {
    if (buffer_size < own_pages_from || from >= buffer_size) return buffer_size;
    const std::size_t to = std::min(buffer_size, from + present_step);
    make_pages_present(data, from, to);
    return to;
}

void release_own_pages(void* data, std::size_t size, std::size_t buffer_size) {
    if (buffer_size < own_pages_from) return;
    release_whole_pages(data, 0, size);
}

}  // namespace ilvex
