// Running text: consecutive lines up to the first one that opens a block.
#include <memory>
#include <string>

#include "dialektos/unicode.hpp"
#include "parser/block_forms.hpp"
#include "parser/inline_parser.hpp"
#include "parser/sim_reference.hpp"

namespace ilvex {
namespace {

// Whether a line that begins with one sigil starts with a para-simmere token.
// A failed lookup keeps the line in the paragraph; the inline parser then
// reports what is wrong with it.
bool opens_para_simmere(const ParserState& state, const Dialektos& dialektos, std::string_view rest) {
    if (rest.starts_with('(')) return false;
    auto reference = find_sim_reference(dialektos, state.symbols_for(dialektos), rest);
    return reference && reference->sim != nullptr &&
           std::holds_alternative<ParaSimmere>(reference->sim->form);
}

// Whether a line that begins with three sigils opens a trigraph block. A
// comment opener does unless its closer stands inside the line.
bool opens_trigraph_block(const ParserState& state, std::string_view rest) {
    if (rest.empty()) return false;
    switch (rest.front()) {
        case '!':
        case '"':
        case '(':
        case '+':
        case '.':
        case ':':
        case '=':
            return true;
        case '/': {
            const std::string closer = trigraph_closer(state, '/');
            const std::string_view inside = unicode::trim(rest.substr(1));
            return inside.find(closer) == std::string_view::npos || inside.ends_with(closer);
        }
        default:
            return false;
    }
}

// Whether `line` (start trimmed), the line at `state.pos`, ends the running
// paragraph in front of it.
bool ends_paragraph(const ParserState& state, const Dialektos& dialektos, std::string_view line,
                    std::optional<std::string_view> closer) {
    if (line.empty()) return true;
    if (closer && begins_with_closer(line, *closer)) return true;
    const std::size_t run = sigil_run_length(line, state.sigil());
    const std::string_view rest = line.substr(run);
    switch (run) {
        case 1:
            return opens_para_simmere(state, dialektos, rest);
        case 3:
            return opens_trigraph_block(state, rest);
        case 4:
            return true;
        default:
            return false;
    }
}

}  // namespace

Result<LineOutcome> collect_paragraph(ParserState& state, const Dialektos& dialektos,
                                std::optional<std::string_view> closer) {
    const std::uint64_t first = state.pos;
    // The lines joined by line feeds, each without its leading white space.
    // That is the source itself as long as no line has any and each ends in
    // a bare line feed: only from the first line that does not are the
    // lines copied.
    std::string_view source = unicode::trim_start(state.lines[first]);
    std::string& joined = state.paragraph_text;
    bool copied = false;
    for (++state.pos; state.lines.has(state.pos); ++state.pos) {
        const std::string_view line = unicode::trim_start(state.lines[state.pos]);
        if (ends_paragraph(state, dialektos, line, closer)) break;
        if (!copied && line.data() == source.data() + source.size() + 1) {
            source = std::string_view(source.data(), source.size() + 1 + line.size());
            continue;
        }
        if (!copied) joined.assign(source);
        copied = true;
        joined += '\n';
        joined += line;
    }
    const std::string_view text = copied ? std::string_view(joined) : source;
    // A sink that writes most paragraphs from a flat list gets them so; the
    // others are read again as a tree.
    if (state.sink != nullptr && state.sink->takes_flat_paragraphs()) {
        if (!state.flat_paragraph) state.flat_paragraph = std::make_unique<FlatInlines>();
        FlatInlines& flat = *state.flat_paragraph;
        flat.clear();
        if (Status read = parse_flat_inline_text(state, dialektos, text, first, flat); !read) {
            return std::move(read).error();
        }
        if (!flat.incomplete && state.sink->flat_paragraph(flat)) return LineOutcome{HandedOver{}};
    }
    // A sink that writes the paragraph as it goes may take it in parts.
    BlockSink* parts = state.sink != nullptr && state.sink->takes_paragraph_parts() ? state.sink : nullptr;
    auto inlines = parse_inline_text(state, dialektos, text, first, false, parts);
    if (!inlines) return std::move(inlines).error();
    return LineOutcome{Block(Block::Paragraph{std::move(inlines).value()})};
}

}  // namespace ilvex
