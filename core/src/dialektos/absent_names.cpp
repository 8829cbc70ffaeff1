#include "dialektos/absent_names.hpp"

#include <ctime>
#include <set>
#include <unordered_map>

namespace ilvex {
namespace {

// How old, in seconds, a directory's last change must be before its missing
// names are remembered: more than the coarsest time stamps a file system
// keeps (two seconds), so that a change after the lookup cannot carry the
// same time as the state remembered.
constexpr std::time_t settled_seconds = 3;

// Directories remembered per thread at most; past it the memory starts over.
constexpr std::size_t remembered_directories = 64;

struct Remembered {
    DirectoryState state;
    std::set<std::string, std::less<>> names;
};

std::unordered_map<std::string, Remembered>& remembered() {
    thread_local std::unordered_map<std::string, Remembered> directories;
    return directories;
}

bool before(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

}  // namespace

bool AbsentNames::trusts(const DirectoryState& state) {
    struct timespec now {};
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) return false;
    const struct timespec& last = before(state.modified, state.changed) ? state.changed : state.modified;
    return now.tv_sec - last.tv_sec > settled_seconds;
}

bool DirectoryState::operator==(const DirectoryState& other) const {
    return device == other.device && inode == other.inode && modified.tv_sec == other.modified.tv_sec &&
           modified.tv_nsec == other.modified.tv_nsec && changed.tv_sec == other.changed.tv_sec &&
           changed.tv_nsec == other.changed.tv_nsec;
}

std::optional<DirectoryState> directory_state(const std::string& dir) {
    struct stat status {};
    if (::stat(dir.empty() ? "." : dir.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return std::nullopt;
    return DirectoryState{status.st_dev, status.st_ino, status.st_mtim, status.st_ctim};
}

bool AbsentNames::known(const std::string& dir, const DirectoryState& state, std::string_view name) {
    const auto& directories = remembered();
    const auto found = directories.find(dir);
    return found != directories.end() && found->second.state == state &&
           found->second.names.find(name) != found->second.names.end();
}

void AbsentNames::remember(const std::string& dir, const DirectoryState& state, std::string_view name) {
    auto& directories = remembered();
    auto found = directories.find(dir);
    if (found == directories.end()) {
        if (directories.size() >= remembered_directories) directories.clear();
        found = directories.emplace(dir, Remembered{state, {}}).first;
    } else if (!(found->second.state == state)) {
        found->second = Remembered{state, {}};
    }
    found->second.names.emplace(name);
}

}  // namespace ilvex
