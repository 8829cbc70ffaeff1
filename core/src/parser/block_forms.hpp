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
#include "parser/block_parser.hpp"
#include "parser/parser_state.hpp"

namespace ilvex {

// A line consumed without a block (a block comment).
struct NoBlock {};
// A line that begins a paragraph; nothing has been consumed.
struct ParagraphStart {};
// A block with a body, already handed to the parse's sink piece by piece.
struct HandedOver {};

using LineOutcome = std::variant<Block, NoBlock, ParagraphStart, HandedOver>;

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

// Whether `line` begins with `closer`. Most lines differ from it in their
// first byte, told apart here without a call to compare.
inline bool begins_with_closer(std::string_view line, std::string_view closer) {
    return closer.empty() || (!line.empty() && line.front() == closer.front() && line.starts_with(closer));
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

// Appends the outline record of a finished Para, Stichoi, Diaphane or
// Englossis block whose opener stood on the line with 0-based index
// `opener`; `dialektos` is the one the block was parsed with.
void append_record(ParserState& state, const Dialektos& dialektos, const Block& block, std::uint64_t opener);

// Reads a block with a body of blocks, whose opener stood on line `opener`:
// `node` holds what its opener gave,
// `read_closing` completes it from the closing line at `state.pos` once the
// body, parsed with `dialektos` up to `closer`, is read. When the parse
// streams, the block goes to the sink as described there; otherwise the
// body becomes the node's children and the block is the outcome.
template <class Node, class ReadClosing>
Result<LineOutcome> read_block_with_body(ParserState& state, const Dialektos& dialektos, std::uint64_t opener,
                                         Node node, std::string_view closer, ReadClosing read_closing) {
    Block container(std::move(node));
    Node& opened = std::get<Node>(container.node);
    if (state.sink != nullptr) state.sink->open(container);
    auto children = parse_blocks(state, dialektos, closer);
    if (!children) return std::move(children).error();
    opened.children = std::move(children).value();
    if (Status closed = read_closing(opened); !closed) return std::move(closed).error();
    if (state.sink == nullptr) return LineOutcome{std::move(container)};
    if (state.collect_records) append_record(state, dialektos, container, opener);
    state.sink->close(container);
    // The sink is done with the block: a scratch that recycles takes its
    // lists back, as it does those of the blocks handed over whole.
    if (state.inline_scratch.recycling) state.inline_scratch.take_back(container);
    return LineOutcome{HandedOver{}};
}

// Collects the paragraph that begins at `state.pos` and leaves `pos` on the
// line that ended it: the paragraph block, or HandedOver when the sink has
// written it from its flat list.
Result<LineOutcome> collect_paragraph(ParserState& state, const Dialektos& dialektos,
                                std::optional<std::string_view> closer);

}  // namespace ilvex
