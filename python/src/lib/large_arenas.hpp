// Large pages for the interpreter's small objects while a large result is
// built from them.
#pragma once

#include <Python.h>

#include <cstddef>

namespace ilvex::py {

// While one lives, the arenas that the interpreter's small-object allocator
// newly needs come from large (2 MiB) pages: a result of millions of small
// objects (the outline's dicts, ints and strings) otherwise takes a page
// fault for every 4 KiB it fills, and on a virtual machine those faults cost
// as much as building the objects. The arenas stay the interpreter's: each is
// a mapping of its own that the interpreter's allocator unmaps as it would
// its own, so nothing changes for their objects once the result is built.
//
// It takes effect only where that is safe: on an interpreter whose arena
// allocator is the one it came with (maps and unmaps), under one lock for
// all interpreters of the process (so no other thread allocates arenas
// meanwhile), and when about `expected_bytes` of new objects will be built,
// enough for several large pages. Otherwise it does nothing. A large page
// less than those bytes fill is taken, the rest of the arenas coming as the
// interpreter's own, so that the result holds no more memory than it would
// otherwise.
class LargeArenas {
public:
    // Results of fewer bytes are built in the interpreter's own arenas.
    static constexpr std::size_t threshold = 8 * 1024 * 1024;

    explicit LargeArenas(std::size_t expected_bytes);
    ~LargeArenas();
    LargeArenas(const LargeArenas&) = delete;
    LargeArenas& operator=(const LargeArenas&) = delete;

private:
    bool installed_ = false;
};

}  // namespace ilvex::py
