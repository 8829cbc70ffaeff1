// The parts of a file path, computed on its text.
#pragma once

#include <string>
#include <string_view>

namespace ilvex {

// The last component of `path` without its final extension (a name whose
// only "." comes first keeps it), with invalid UTF-8 replaced; "" when the
// path has no file name ("", "/", ".", "..", "a/..").
std::string file_stem(std::string_view path);

// The path without its last component, trailing separators and "."
// components dropped: "a" for "a/b", "/" for "/a", "" for "a", "/" or "".
std::string parent_directory(std::string_view path);

}  // namespace ilvex
