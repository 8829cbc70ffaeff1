// The inline converter of the Markdown importer.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dendron/flat_inlines.hpp"

namespace ilvex {

// The inlines of one text (a heading, or a paragraph's lines joined by
// spaces) as a flat list put into `out`, whose items view `text`: backslash
// escapes of ASCII punctuation, code spans, "*" and "**" spans, autolinks,
// footnote references "[^label]" whose label is a valid onym, and links
// "[text](url)". Everything else, an unclosed construct included, is text.
void read_markdown_inlines(std::string_view text, FlatInlines& out);

// The heading of `level` (1 to 6) whose text is `text`, trimmed: the
// inlines of its paragraph, one endo-simmere of the heading symbol holding
// those of the text, as a flat list put into `out`.
void read_markdown_heading(std::size_t level, std::string_view text, FlatInlines& out);

}  // namespace ilvex
