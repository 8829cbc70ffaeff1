// White space handling shared by the importers: collapsing runs in a text
// and trimming the edges of an inline run. White space is the Unicode
// White_Space set throughout.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

// `text` with every maximal run of white space replaced by one space;
// nothing is trimmed, so a run at either end stays as one space.
std::string collapse_whitespace(std::string_view text);

// Removes the white-space-only `Text` items at both ends of `inlines`, then
// the leading white space of the first item and the trailing white space of
// the last one when they are `Text`. Items of other kinds stop the removal
// and are never changed.
void trim_inlines(std::vector<Inline>& inlines);

// Trims the first item when it is a `Text` (dropping it when nothing is
// left), then the new last item likewise: at most one item goes at each
// end, so [" ", " a"] becomes [" a"] where trim_inlines gives ["a"].
void trim_run_edges(std::vector<Inline>& inlines);

}  // namespace ilvex
