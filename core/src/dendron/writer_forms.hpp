// What the writer knows of how its text reads back: the pieces of markup it
// writes, and how the parser meets an item's text, suffix and closer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/byte_set.hpp"

namespace ilvex::writing {

inline constexpr std::size_t nowhere = std::string::npos;

// Reads as nothing anywhere in running text. It keeps a sim's symbol apart
// from symbol characters after it, and opens a line that the block parser
// would otherwise take for the end of the enclosing block.
inline constexpr std::string_view empty_comment = "@@@//@@@";

// Reads as nothing up to the end of its line: the content of a line that
// must not be blank.
inline constexpr std::string_view line_comment = "@@/";

// The only (ASCII) characters of a text that are written otherwise than as
// they are.
inline constexpr ByteSet written_otherwise("@|\\\n\r");

// The blocks written without a blank line before or after them.
bool is_monosim_block(BlockKind kind);

// Hashes a symbol given as a string or as a view alike, so that a lookup
// copies nothing.
struct SymbolHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view symbol) const { return std::hash<std::string_view>{}(symbol); }
};

// The children of a block with a body of blocks; null for any other block.
const std::vector<Block>* body_of(const Block& block);

// A paragraph of white space only: written, it would be blank lines, which
// the parser skips, so it is not written at all (and separates nothing).
bool writes_nothing(const Block& block);

char32_t first_char(std::string_view text);

// The characters that the suffix reader takes into a genos run.
bool continues_genos(char32_t c);

// What the suffix reader would take for an onym or a genos of the item
// before: "(", or "." and an alphabetic character that is not uppercase.
bool looks_like_suffix(std::string_view text);

// Texts that agree as far as the shorter one reaches.
bool prefix_related(std::string_view a, std::string_view b);

bool is_ascii_digits(std::string_view text);

// What the parser leaves for the text after an inline item: whether it
// reads a suffix there and what that suffix held.
struct After {
    bool reads_suffix = false;
    bool genoses = false;
    bool empty_suffix = false;
};

After after(const Inline& item);

// Whether a closer written right after an item would be read as part of the
// item's suffix: "|" ends a suffix, "(" opens its onym, "-" continues a genos.
bool closer_joins_suffix(const After& previous, std::string_view closer);

// How an inline item's text begins, as far as a closer or a block closer in
// front of it can reach: its sigils and the character after them (never a
// sigil, whatever the sim token becomes). A sim's symbol is spelled into
// `buffer`, which the answer then views.
std::string_view opener_of(const Inline& item, std::string& buffer);

// The symbol characters the parser may see after an endo-simmere's symbol:
// those its content begins with, then, when the content has no other
// character, a "|" separator in front of markup or the episim of its closer.
// Escapes only end the run earlier, so the run may be longer than the one
// written, which makes the check on it stricter, never laxer.
std::string lead_after_opener(const Inline::EndoSimmere& item);

// What the parser reads a para-simmere's token from: its symbol, and the
// "(" of a taxis after it.
std::string opener_run(std::string_view symbol, const Taxis& taxis);

// What the parser reads a monosim's or deixis's token from: the whole call.
std::string call_run(std::string_view symbol, std::string_view param, const Suffix& suffix);

void write_taxis(const Taxis& taxis, std::string& out);

// How the block parser meets the lines of the inline text being written.
enum class Lines : std::uint8_t {
    Single,     // a lemma or a hypograph: white space at both ends is trimmed
    Verse,      // a verse line: leading white space is content, the end is trimmed
    Paragraph,  // running text: every "\n" begins a line that the block parser classifies anew
};

}  // namespace ilvex::writing
