#include "dendron/own_pages.hpp"

#include <cstdint>
#include <new>

#include <sys/mman.h>
#include <unistd.h>

namespace ilvex {
namespace {

constexpr std::size_t own_pages_from = 1 << 20;  // bytes

// The size of a large page. A buffer's pages are filled in order, and a
// fault costs about the same whether it brings one small page or a large
// one, so large pages spare nearly all the faults of a large buffer, at the
// price of at most one partly used large page per buffer.
constexpr std::uintptr_t large_page = std::uintptr_t{1} << 21;

std::uintptr_t round_up(std::uintptr_t value, std::uintptr_t unit) { return (value + unit - 1) & ~(unit - 1); }

// The length of the mapping of a large buffer: whole large pages.
std::size_t mapped_size(std::size_t size) { return round_up(size, large_page); }

}  // namespace

// A large buffer is mapped at a large page boundary, in whole large pages:
// the mapping is made one large page longer than that and trimmed at both
// ends.
void* allocate_own_pages(std::size_t size) {
    if (size < own_pages_from) return ::operator new(size);
    const std::size_t length = mapped_size(size);
    void* raw = mmap(nullptr, length + large_page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t data = round_up(start, large_page);
    if (data > start) munmap(raw, data - start);
    munmap(reinterpret_cast<void*>(data + length), start + large_page - data);
    madvise(reinterpret_cast<void*>(data), length, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(data);
}

void deallocate_own_pages(void* data, std::size_t size) {
    if (size < own_pages_from) {
        ::operator delete(data);
        return;
    }
    munmap(data, mapped_size(size));
}

void release_own_pages(void* data, std::size_t size, std::size_t buffer_size) {
    if (buffer_size < own_pages_from) return;
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + page - 1) & ~(page - 1);
    const std::uintptr_t end = (start + size) & ~(page - 1);
    if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED);
}

}  // namespace ilvex
