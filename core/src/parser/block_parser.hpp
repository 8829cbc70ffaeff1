// The block parser: the lines of a document into its blocks.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/model.hpp"
#include "dialektos/result.hpp"
#include "parser/parser_state.hpp"

namespace ilvex {

// Block bodies nest at most this deep; a deeper body is refused at its
// opener's line instead of growing the stack without bound.
inline constexpr std::uint64_t max_block_nesting = 256;

// Reads blocks from `state.pos`. Without a closer it reads to the end of the
// lines; with one it stops in front of the first line whose start (after
// leading white space) is the closer, leaving `pos` on that line for the
// caller to consume. Appends an outline record for every Para, Stichoi,
// Diaphane and Englossis block it finishes. A parse with a sink hands the
// blocks to it instead and returns none.
Result<std::vector<Block>> parse_blocks(ParserState& state, const Dialektos& dialektos,
                                        std::optional<std::string_view> closer);

// Refuses a monosim parameter holding white space, at the current line.
Status check_monosim_parameter(const ParserState& state, std::string_view parameter);

// The name of ":name:", or nothing when `text` is not of that shape.
std::optional<std::string> parse_colon_name(std::string_view text);

}  // namespace ilvex
