// Values put in a form that the writer can put down as they are, and the
// parser reads back: parameters without white space, literal text without
// the closer of its form. Importers build their trees with them, and the
// writer falls back on them for a tree that holds what its form cannot.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

// A media or anaphor parameter (an image URL, a file name) with every white
// space character percent-encoded as its UTF-8 bytes ("a b.png" gives
// "a%20b.png", a no-break space "%C2%A0"): it names the same resource and
// holds no white space, which a parameter cannot.
std::string writable_parameter(std::string_view text);

// writable_parameter for a parameter written inside running text, which
// ends at its first ")": ")" is percent-encoded as well.
std::string writable_inline_parameter(std::string_view text);

// Literal text as inline `Enlexis` items with empty suffixes: one, or several
// where the text holds the enlexis closer (a double quote and "@@"), split
// just after each such quote so that no piece holds the closer. The text
// should hold no line feed: a paragraph line loses its leading white space
// and a blank line ends the paragraph, inside literal text too.
std::vector<Inline> literal_inlines(std::string_view text);

// Literal lines, as a `MonadEnlexis` holds them, as blocks: one
// `MonadEnlexis` of the text with `suffix`, unless a line would close it
// early (after its leading white space it begins with a double quote and
// "@@@"); then the runs of other lines become `MonadEnlexis` blocks with
// `suffix` and each such line a `Paragraph` of literal_inlines. Carriage
// returns at the end of a line are dropped: a document line cannot keep them.
std::vector<Block> literal_blocks(std::string_view text, const Suffix& suffix);

// literal_blocks of a text the caller gives up: one that needs no split is
// moved into its block, not copied (a fence may be most of a document).
std::vector<Block> literal_blocks(std::string&& text, const Suffix& suffix);

}  // namespace ilvex
