// Block pieces that the Markdown and djot importers share: blank lines,
// fence openers, ATX headings, paragraphs and the Para of a quote or item,
// built so that what they hold is written and read back unchanged.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

inline constexpr std::string_view code_fence = "```";

// Empty once trimmed of white space.
bool is_blank(std::string_view line);

// "```" at the very start of the line.
bool opens_fence(std::string_view line);

// The suffix of a fenced code block whose opening line is `line`: the info
// string after the backticks, trimmed, as its genos when it can be one.
Suffix fence_suffix(std::string_view line);

// 1 to 6 for "#" to "######" followed by a space at the start of `line`,
// else 0.
std::size_t heading_level(std::string_view line);

// Whether the opener of a heading of `level` needs a space before the
// heading's text, which is empty or begins with `first_text` (its first
// item's text, "" for an item of another kind): an opener directly followed
// by more "#" would be read as a longer heading symbol ("@#" and "#x" give
// "@##x"), and an empty heading's opener runs into its closer. The space
// changes nothing, since the heading's text was trimmed. "######" is the
// longest heading symbol and runs on into nothing.
bool heading_needs_space(std::size_t level, bool empty, std::string_view first_text);

// The heading paragraph of `level` holding the inlines of its text.
Block heading_block(std::size_t level, std::vector<Inline> children);

// A paragraph of `inlines`, cut to what a paragraph line reads back: no
// leading white space, no trailing carriage returns; nothing when no inline
// is left.
std::optional<Block> paragraph_block(std::vector<Inline> inlines);

// A Para with no lemma, hypograph or children yet.
Block::Para light_para(std::string_view symbol, bool mirrored, Suffix suffix, Taxis taxis);

}  // namespace ilvex
