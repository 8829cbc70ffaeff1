// The inline converter of the Markdown importer.
#pragma once

#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "endo/flat_inlines.hpp"

namespace ilvex {

// The inlines of one text (a heading, or a paragraph's lines joined by
// spaces) as a flat list put into `out`, whose items view `text`: backslash
// escapes of ASCII punctuation, code spans, "*" and "**" spans, autolinks,
// footnote references "[^label]" whose label is a valid onym, and links
// "[text](url)". Everything else, an unclosed construct included, is text.
void read_markdown_inlines(std::string_view text, FlatInlines& out);

// The same as a tree.
std::vector<Inline> markdown_inlines(std::string_view text);

}  // namespace ilvex
