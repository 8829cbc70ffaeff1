// An importer's flat list of inlines made a tree, for the paragraphs that
// the writer must write itself.
#pragma once

#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dendron/flat_inlines.hpp"

namespace ilvex {

// The items of a literal text (a code span's) appended to `out`: one
// enlexis, or the pieces literal_inlines cuts when the text holds the
// enlexis closer.
void append_literal(std::string_view text, std::vector<Inline>& out);

// The tree of a flat list whose items are well nested: texts joined as their
// flags say, each literal text as literal_inlines gives it, and the
// backslashes that end a text before another item isolated in every list.
std::vector<Inline> inline_tree(const FlatInlines& inlines);

}  // namespace ilvex
