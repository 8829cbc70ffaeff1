// The inline converter of the djot importer.
#pragma once

#include <string_view>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

// The inlines of one text (a heading, an item, or a paragraph's trimmed
// lines joined by spaces): "*" strong and "_" emphasis spans under the
// flanking rules, backslash escapes of ASCII punctuation, code spans,
// autolinks and links "[text](url)". Images "![", footnote references "[^"
// and everything unclosed are text.
std::vector<Inline> djot_inlines(std::string_view text);

}  // namespace ilvex
