// The inline converter of the Markdown importer.
#pragma once

#include <string_view>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

// The inlines of one text (a heading, or a paragraph's lines joined by
// spaces): backslash escapes of ASCII punctuation, code spans, "*" and "**"
// spans, autolinks, footnote references "[^label]" whose label is a valid
// onym, and links "[text](url)". Everything else, an unclosed construct
// included, is text.
std::vector<Inline> markdown_inlines(std::string_view text);

}  // namespace ilvex
