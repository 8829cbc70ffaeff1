// The line model of a document and the directory its dialektos comes from.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ilvex {

// Splits at every "\n"; a final "\n" starts no extra line, and every line
// loses all "\r" at its end. The empty text has no lines. The lines are
// views into `text`, which must outlive them.
std::vector<std::string_view> split_document_lines(std::string_view text);

// The parent directory of `path`, computed on its text: "" for a bare file
// name (the current directory), "/" for a file in the root, "." when the
// path has no parent at all (the empty path, a root).
std::string document_directory(std::string_view path);

}  // namespace ilvex
