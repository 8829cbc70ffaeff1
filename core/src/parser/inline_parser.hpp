// The inline parser: running text (a paragraph, a lemma, a hypograph, a verse
// line) into inline items.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/model.hpp"
#include "dialektos/result.hpp"
#include "parser/parser_state.hpp"

namespace ilvex {

// Parses `text`, which begins on the document line with 0-based index
// `base_line`; errors are located at the line and character column.
Result<std::vector<Inline>> parse_inline_text(const ParserState& state, const Dialektos& dialektos,
                                              std::string_view text, std::uint64_t base_line);

}  // namespace ilvex
