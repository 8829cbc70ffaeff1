#include "dialektos/memory_pages.hpp"

#include <cstdint>

#include <sys/mman.h>
#include <unistd.h>

namespace ilvex {
namespace {

std::uintptr_t page_size() { return static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE)); }

std::uintptr_t rounded_down(std::uintptr_t at, std::uintptr_t unit) { return at & ~(unit - 1); }
std::uintptr_t rounded_up(std::uintptr_t at, std::uintptr_t unit) { return rounded_down(at + unit - 1, unit); }

}  // namespace

void make_pages_present(const void* data, std::size_t from, std::size_t to) {
    if (to <= from) return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = rounded_down(start + from, page_size());
    madvise(reinterpret_cast<void*>(first), start + to - first, MADV_POPULATE_WRITE);
}

std::size_t release_whole_pages(void* data, std::size_t from, std::size_t to) {
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = rounded_up(start + from, page_size());
    const std::uintptr_t end = rounded_down(start + to, page_size());
    if (end <= first) return from;
    madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED);
    return end - start;
}

std::pair<std::size_t, std::size_t> advise_large_pages(void* data, std::size_t from, std::size_t to) {
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = rounded_up(start + from, large_page_size);
    const std::uintptr_t end = rounded_down(start + to, large_page_size);
    if (end <= first) return {0, 0};
    madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    return {first - start, end - start};
}

}  // namespace ilvex
