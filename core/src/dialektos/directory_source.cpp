#include "dialektos/directory_source.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <system_error>

#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

bool has_nul(std::string_view text) { return text.find('\0') != std::string_view::npos; }

std::string join(const std::string& dir, std::string_view name) {
    if (dir.empty()) return std::string(name);
    if (dir.back() == '/') return dir + std::string(name);
    return dir + "/" + std::string(name);
}

Error unreadable(const std::string& path, int error_number) {
    return Error(ErrorKind::MissingResource, path + ": " + std::system_category().message(error_number));
}

bool is_regular_file(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// Reads to the end of the file, whatever size it reported.
Result<std::string> read_to_end(int fd, const std::string& path) {
    std::string content;
    char buffer[1 << 16];
    while (true) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count > 0) {
            content.append(buffer, static_cast<std::size_t>(count));
        } else if (count == 0) {
            return content;
        } else if (errno != EINTR) {
            return unreadable(path, errno);
        }
    }
}

}  // namespace

Result<std::optional<std::string>> DirectorySource::read(std::string_view name) const {
    if (has_nul(dir_) || has_nul(name) || name.find('/') != std::string_view::npos) {
        return std::optional<std::string>();
    }
    // Most names looked up are not files at all, and are looked up again
    // call after call: one look at the directory tells they still are not.
    const std::optional<DirectoryState>& state = this->state();
    if (state && AbsentNames::known(dir_, *state, name)) return std::optional<std::string>();
    const std::string path = join(dir_, name);
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.get() < 0) {
        // A regular file that cannot be opened is unreadable; anything else
        // that cannot be opened is not there. A missing name needs no
        // second look (the usual case: most ids are not files at all).
        const int error_number = errno;
        if (error_number == ENOENT) {
            // Only a name with no entry at all: a link to a missing file
            // would appear without any change to this directory. While the
            // directory is too freshly changed to be trusted, nothing is
            // remembered and the look at the entry is spared.
            struct stat entry {};
            if (state && AbsentNames::trusts(*state) && ::lstat(path.c_str(), &entry) != 0 && errno == ENOENT) {
                AbsentNames::remember(dir_, *state, name);
            }
            return std::optional<std::string>();
        }
        if (is_regular_file(path)) return unreadable(path, error_number);
        return std::optional<std::string>();
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) return unreadable(path, errno);
    if (!S_ISREG(status.st_mode)) return std::optional<std::string>();
    auto content = read_to_end(file.get(), path);
    if (!content) return std::move(content).error();
    if (!unicode::is_valid_utf8(*content)) return Error(ErrorKind::InvalidUtf8);
    return std::optional<std::string>(std::move(*content));
}

const std::optional<DirectoryState>& DirectorySource::state() const {
    if (!state_) state_.emplace(directory_state(dir_));
    return *state_;
}

std::vector<std::string> DirectorySource::list() const {
    std::vector<std::string> names;
    if (has_nul(dir_)) return names;
    const std::unique_ptr<DIR, DirectoryCloser> directory(::opendir(dir_.empty() ? "." : dir_.c_str()));
    if (!directory) return names;
    const int dir_fd = ::dirfd(directory.get());
    while (const dirent* entry = ::readdir(directory.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == ".." || !unicode::is_valid_utf8(name)) continue;
        struct stat status {};
        if (::fstatat(dir_fd, entry->d_name, &status, 0) != 0 || !S_ISREG(status.st_mode)) continue;
        names.emplace_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace ilvex
