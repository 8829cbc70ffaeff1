// Names known to be missing from a directory, so that looking up the same
// missing definition files call after call costs one look at the directory
// instead of a failed open per name.
#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>

namespace ilvex {

// The state of a directory that tells whether its entries may have changed:
// any entry added, removed or renamed, and any change of its permissions,
// gives it a new modification or change time.
struct DirectoryState {
    dev_t device = 0;
    ino_t inode = 0;
    struct timespec modified {};
    struct timespec changed {};

    bool operator==(const DirectoryState& other) const;
};

// The state of `dir` (the current directory when empty), or nothing when it
// cannot be looked at.
std::optional<DirectoryState> directory_state(const std::string& dir);

// Names found missing from directories, remembered per thread. A name is
// only remembered for a directory whose last change is old enough that any
// later change is sure to give it another time (file systems keep times to
// a second or two at the coarsest), and only while the directory keeps the
// state it had when the name was found missing.
class AbsentNames {
public:
    // Whether `name` was found missing from `dir` while it was in `state`.
    static bool known(const std::string& dir, const DirectoryState& state, std::string_view name);

    // Whether names found missing from a directory in `state` may be
    // remembered: whether that state is old enough to be trusted.
    static bool trusts(const DirectoryState& state);

    // Remembers that `name` was found missing from `dir`, looked at in
    // `state` before the lookup; `state` must be trusted.
    static void remember(const std::string& dir, const DirectoryState& state, std::string_view name);
};

}  // namespace ilvex
