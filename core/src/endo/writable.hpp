// Source values made writable. The writer puts genoses, parameters and
// literal text down as they are, and the parser refuses or reads otherwise
// some of what a foreign source may hold; importers pass what they take from
// their source through these helpers, so that what they build parses back to
// the same text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

// A class, language or type word as a genos: the word when it is a valid
// genos, else its ASCII-lower-cased form when that is one ("Python" gives
// "python"), else nothing, and the word is dropped ("c++", "2nd").
std::optional<std::string> writable_genos(std::string_view word);

// A media or anaphor parameter (an image URL, a file name) with every white
// space character percent-encoded as its UTF-8 bytes ("a b.png" gives
// "a%20b.png", a no-break space "%C2%A0"): it names the same resource and
// holds no white space, which a parameter cannot.
std::string writable_parameter(std::string_view text);

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

// A `Text` that ends with a backslash cannot stand right before markup: the
// parser reads the backslash and the sigil after it as an escape. Moves such
// trailing backslashes of the items of `inlines` into an `Enlexis` of their
// own. Nested lists are left alone: each converter calls this on the lists
// it builds.
void isolate_trailing_backslashes(std::vector<Inline>& inlines);

// Puts every string of an imported tree in NFC. The parser reads a document
// in NFC: a tree written with other strings would read back changed. Texts
// side by side are one text once written; two whose NFC joined is not the
// two NFCs side by side (a combining mark that begins the second) are joined.
void compose_strings(Document& document);

}  // namespace ilvex
