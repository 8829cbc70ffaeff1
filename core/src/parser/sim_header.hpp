// The multi-line block forms that carry a lemma, a body and a closing line
// with suffix and hypograph: para-simmeres and the anonymous line block, and
// the closing line of the trigraph blocks.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/model.hpp"
#include "dialektos/result.hpp"
#include "parser/block_forms.hpp"
#include "parser/parser_state.hpp"

namespace ilvex {

struct SuffixAndHypograph {
    Suffix suffix;
    std::vector<Inline> hypograph;
};

// Reads a para-simmere of `sim` (whose form must be ParaSimmere) from its
// opener line at `state.pos`: `after_token` is the opener line after the sim
// token, `name` the name of a "{name}" token (nothing for a symbol). Leaves
// `pos` past the closing line. A parse that streams hands a block with a
// body to its sink instead of returning it.
Result<LineOutcome> parse_sim_header(ParserState& state, const Dialektos& dialektos, const SimDef& sim,
                               std::string_view after_token,
                               const std::optional<std::string>& name);

// Reads the closing line at `state.pos` after its closer of `closer_length`
// bytes: the suffix, then the hypograph as `hypograph` allows it. Leaves
// `pos` past the line.
Result<SuffixAndHypograph> check_hypograph(ParserState& state, const Dialektos& dialektos,
                                           const SimDef& sim, std::size_t closer_length,
                                           Occurrence hypograph);

// Reads an anonymous line block from its opener line at `state.pos`;
// `after_opener` is the text after the opener.
Result<Block> parse_line_block(ParserState& state, const Dialektos& dialektos,
                               std::string_view after_opener);

// Reads the closing line at `state.pos` of a trigraph block closed by
// `closer`: a suffix and nothing else. Leaves `pos` past the line.
Result<Suffix> parse_rest_of_line(ParserState& state, std::string_view closer);

}  // namespace ilvex
