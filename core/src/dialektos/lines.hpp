// The standard line split of the check entry's first-line test, the
// outline's line search and the light-markup importers.
#pragma once

#include <string_view>
#include <vector>

namespace ilvex {

// Splits at "\n", dropping one "\r" before each "\n"; a final "\n" ends the
// last line rather than starting an empty one, and an empty text has no
// lines. A "\r" not followed by "\n" stays in its line. The lines are views
// into `text`.
std::vector<std::string_view> split_standard_lines(std::string_view text);

}  // namespace ilvex
