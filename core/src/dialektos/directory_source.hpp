// The definition source over one directory of the file system.
#pragma once

#include <optional>
#include <string>

#include "dialektos/absent_names.hpp"
#include "dialektos/source.hpp"

namespace ilvex {

// Reads the regular files directly inside `dir` (the current directory when
// `dir` is empty), following links. A name that holds "/" or NUL names no
// file here, so nothing outside the directory is ever read; a `dir` holding
// NUL holds nothing.
class DirectorySource : public DefinitionSource {
public:
    explicit DirectorySource(std::string dir) : dir_(std::move(dir)) {}

    // Absent unless the name is a regular file; MissingResource when it is
    // one but cannot be read; InvalidUtf8 when its bytes are not UTF-8.
    // FIFOs and devices are absent and never waited on.
    Result<std::optional<std::string>> read(std::string_view name) const override;

    // The regular files with UTF-8 names, in byte order; nothing when the
    // directory cannot be opened.
    std::vector<std::string> list() const override;

private:
    // The directory's state, looked at once, at the first read.
    const std::optional<DirectoryState>& state() const;

    std::string dir_;
    mutable std::optional<std::optional<DirectoryState>> state_;
};

}  // namespace ilvex
