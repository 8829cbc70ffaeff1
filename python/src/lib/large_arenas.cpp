#include "large_arenas.hpp"

#include <cstdint>

#include <dlfcn.h>
#include <sys/mman.h>

#include "dialektos/memory_pages.hpp"

namespace ilvex::py {
namespace {

// Kept for the whole process rather than in the LargeArenas, so that the
// functions handed to the interpreter stay valid whatever calls them later.
struct Installed {
    bool active = false;
    PyObjectArenaAllocator own{};  // the interpreter's, in place before
    char* rest = nullptr;          // the part of the current large page not handed out
    std::size_t rest_size = 0;
    std::size_t pages_left = 0;  // large pages still to be mapped
};
Installed installed;

void give_back_rest() {
    if (installed.rest_size > 0) munmap(installed.rest, installed.rest_size);
    installed.rest = nullptr;
    installed.rest_size = 0;
}

// Maps a large page of its own, aligned so that the system can back it with
// one; false when the pages the objects will surely fill are all mapped, or
// no memory is left.
bool map_large_page() {
    if (installed.pages_left == 0) return false;
    void* mapped = mmap(nullptr, 2 * large_page_size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return false;
    char* start = static_cast<char*>(mapped);
    char* aligned = reinterpret_cast<char*>((reinterpret_cast<std::uintptr_t>(start) + large_page_size - 1) &
                                            ~(large_page_size - 1));
    if (aligned > start) munmap(start, static_cast<std::size_t>(aligned - start));
    char* end = start + 2 * large_page_size;
    if (end > aligned + large_page_size) {
        munmap(aligned + large_page_size, static_cast<std::size_t>(end - aligned - large_page_size));
    }
    // Where large pages are off or none is free, the system backs it with
    // small ones, as the interpreter's own arenas.
    advise_large_pages(aligned, 0, large_page_size);
    installed.rest = aligned;
    installed.rest_size = large_page_size;
    --installed.pages_left;
    return true;
}

// Arenas whose size divides a large page come out of one; any other request
// goes to the interpreter's allocator.
void* allocate(void*, std::size_t size) {
    if (!installed.active || size == 0 || large_page_size % size != 0) {
        return installed.own.alloc(installed.own.ctx, size);
    }
    if (installed.rest_size < size) {
        give_back_rest();
        if (!map_large_page()) return installed.own.alloc(installed.own.ctx, size);
    }
    void* arena = installed.rest;
    installed.rest += size;
    installed.rest_size -= size;
    return arena;
}

// Every arena, whichever allocator gave it, is a mapping of its own.
void release(void*, void* arena, std::size_t size) { installed.own.free(installed.own.ctx, arena, size); }

// Whether `allocator` is the interpreter's own, which maps each arena and
// unmaps it when freed: no context, and both functions in the interpreter's
// own binary. Another allocator might free an arena in a way that only
// suits the memory it gave.
bool interpreters_own(const PyObjectArenaAllocator& allocator) {
    Dl_info interpreter{};
    Dl_info alloc{};
    Dl_info free{};
    return allocator.ctx == nullptr &&
           dladdr(reinterpret_cast<void*>(&PyObject_GetArenaAllocator), &interpreter) != 0 &&
           dladdr(reinterpret_cast<void*>(allocator.alloc), &alloc) != 0 &&
           dladdr(reinterpret_cast<void*>(allocator.free), &free) != 0 &&
           alloc.dli_fbase == interpreter.dli_fbase && free.dli_fbase == interpreter.dli_fbase;
}

}  // namespace

LargeArenas::LargeArenas([[maybe_unused]] std::size_t expected_bytes) {
// From 3.12 on, interpreters with locks of their own may allocate arenas
// while this one holds its lock; with no lock at all, arenas are not used.
#if PY_VERSION_HEX < 0x030C0000 && !defined(Py_GIL_DISABLED)
    if (expected_bytes < threshold || installed.active) return;
    PyObjectArenaAllocator current{};
    PyObject_GetArenaAllocator(&current);
    if (!interpreters_own(current)) return;
    installed.own = current;
    installed.active = true;
    // The last arenas, which the objects may fill only in part, come as the
    // interpreter's own, whose pages are present only where filled.
    installed.pages_left = expected_bytes / large_page_size - 1;
    PyObjectArenaAllocator large{nullptr, allocate, release};
    PyObject_SetArenaAllocator(&large);
    installed_ = true;
#endif
}

LargeArenas::~LargeArenas() {
    if (!installed_) return;
    // One put in place meanwhile (by code run while the result was built)
    // stays; it finds this one handing everything to the interpreter's.
    PyObjectArenaAllocator current{};
    PyObject_GetArenaAllocator(&current);
    if (current.alloc == allocate) PyObject_SetArenaAllocator(&installed.own);
    installed.active = false;
    give_back_rest();
}

}  // namespace ilvex::py
