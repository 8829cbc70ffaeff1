// The inline parser: running text (a paragraph, a lemma, a hypograph, a verse
// line) into inline items.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/model.hpp"
#include "dialektos/result.hpp"
#include "parser/inline_scanner.hpp"
#include "parser/parser_state.hpp"

namespace ilvex {

// How many endo-simmeres, inline diaphanes and endo-axiomata may enclose one
// another; the next one fails instead of deepening the recursion.
inline constexpr std::size_t max_inline_nesting = 256;

// Parses `text`, which begins on the document line with 0-based index
// `base_line`; errors are located at the line and character column. A
// `whole` text (a lemma) keeps its items even where running text keeps none
// when the parse collects records. With `parts` (a paragraph's sink that
// takes them), the items kept go there in parts as they are read, and only
// the last ones are returned.
Result<std::vector<Inline>> parse_inline_text(const ParserState& state, const Dialektos& dialektos,
                                              std::string_view text, std::uint64_t base_line,
                                              bool whole = false, BlockSink* parts = nullptr);

// Parses `text` as parse_inline_text does, its items going to `out` as a
// flat list. A paragraph that holds what such a list does not (an item of
// another kind, or more items than it keeps) leaves `out` incomplete, and
// is read through all the same, for its errors.
Status parse_flat_inline_text(const ParserState& state, const Dialektos& dialektos, std::string_view text,
                              std::uint64_t base_line, FlatInlines& out);

// Parses items from the scanner position up to the first `closer` met at a
// scanning position, leaving the scanner on it (the caller consumes it), or
// up to the end of the text. The items go to `items` where the scanner
// keeps a tree (it is then not null), else as the scanner says.
Status parse_inlines(InlineScanner& scanner, const Dialektos& dialektos, std::optional<std::string_view> closer,
                     std::vector<Inline>* items);

}  // namespace ilvex
