// The pieces of the block parser: what a line opens, the trigraph forms and
// paragraph collection, and the sigil texts its forms are spelled with.
// Internal to the block parser and the sim header readers.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "dendron/document.hpp"
#include "dialektos/model.hpp"
#include "dialektos/result.hpp"
#include "parser/parser_state.hpp"

namespace ilvex {

// A line consumed without a block (a block comment).
struct NoBlock {};
// A line that begins a paragraph; nothing has been consumed.
struct ParagraphStart {};

using LineOutcome = std::variant<Block, NoBlock, ParagraphStart>;

// The document's sigil written `count` times.
inline std::string sigils(const ParserState& state, std::size_t count) {
    return std::string(count, state.sigil());
}

// The closer of a trigraph block: `mark` followed by three sigils (".@@@").
inline std::string trigraph_closer(const ParserState& state, char mark) {
    std::string closer(1, mark);
    closer.append(3, state.sigil());
    return closer;
}

// The number of sigil characters `line` begins with.
std::size_t sigil_run_length(std::string_view line, char sigil);

// A block-level error at the line with 0-based index `index`, column 1.
inline Error block_error(const ParserState& state, Error error, std::uint64_t index) {
    return std::move(error).at(state.path, index + 1);
}

// The run-3 forms; `rest` is the line after its three sigils.
Result<LineOutcome> read_trigraph_form(ParserState& state, const Dialektos& dialektos,
                                       std::string_view rest);

// Collects the paragraph that begins at `state.pos` and leaves `pos` on the
// line that ended it.
Result<Block> collect_paragraph(ParserState& state, const Dialektos& dialektos,
                                std::optional<std::string_view> closer);

}  // namespace ilvex
