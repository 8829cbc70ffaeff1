// The block forms that open with three sigils.
#include <utility>
#include <vector>

#include "dialektos/lexical.hpp"
#include "dialektos/resolution.hpp"
#include "dialektos/unicode.hpp"
#include "parser/block_forms.hpp"
#include "parser/block_parser.hpp"
#include "parser/concat.hpp"
#include "parser/sim_header.hpp"

namespace ilvex {
namespace {

Error other_error(const ParserState& state, const char* message) {
    return block_error(state, Error(ErrorKind::Other, message), state.pos);
}

// The closing line of a trigraph block that carries a suffix.
Status read_suffix(ParserState& state, std::string_view closer, Suffix& suffix) {
    auto read = parse_rest_of_line(state, closer);
    if (!read) return std::move(read).error();
    suffix = std::move(read).value();
    return {};
}

// "@@@!(id)" ... "!@@@": blocks in another dialektos, resolved from the
// document's directory. The id must be a dialektos name, so that no other
// file than "<id>.lektos" or "<id>.dia" beside the document is ever read.
Result<LineOutcome> read_englossis(ParserState& state, std::string_view rest) {
    if (rest.size() == 1 || rest[1] != '(') {
        return other_error(state, "dialektos declaration is only valid on the first content line");
    }
    if (rest.size() == 2 || rest.back() != ')') {
        return other_error(state, "malformed monad-englossis header");
    }
    const std::string_view id = rest.substr(2, rest.size() - 3);
    if (auto checked = check_monosim_parameter(state, id); !checked) {
        return std::move(checked).error();
    }
    if (!is_valid_name(id)) return other_error(state, "malformed monad-englossis header");
    auto embedded = resolve_from_dir(state.dir, id);
    if (!embedded) return std::move(embedded).error();

    const std::uint64_t opener = state.pos++;
    const std::string closer = trigraph_closer(state, '!');
    const SymbolScope in_force(state, *embedded);
    return read_block_with_body(state, *embedded, opener, Block::Englossis{std::string(id), {}, {}}, closer,
                                [&](Block::Englossis& englossis) { return read_suffix(state, closer, englossis.suffix); });
}

// '@@@"' ... '"@@@': literal lines, kept exactly as written.
Result<LineOutcome> read_monad_enlexis(ParserState& state, std::string_view rest) {
    if (!unicode::trim(rest.substr(1)).empty()) {
        return other_error(state, "content after monad-enlexis opener");
    }
    const std::uint64_t opener = state.pos;
    const std::string closer = trigraph_closer(state, '"');
    std::uint64_t end = opener + 1;
    while (state.lines.has(end) && !begins_with_closer(unicode::trim_start(state.lines[end]), closer)) {
        ++end;
    }
    if (!state.lines.has(end)) {
        return block_error(state, Error(ErrorKind::UnmatchedSim, sigils(state, 3) + "\""), opener);
    }
    std::string text;
    for (std::uint64_t i = opener + 1; i < end; ++i) {
        if (i > opener + 1) text += '\n';
        text += state.lines[i];
    }
    if (!text.empty()) text += '\n';
    state.pos = end;
    auto suffix = parse_rest_of_line(state, closer);
    if (!suffix) return std::move(suffix).error();
    return LineOutcome{Block(Block::MonadEnlexis{std::move(text), std::move(suffix).value()})};
}

// "@@@(param)" and "@@@+(param)": a file transclusion, or with ":onym:" as
// the parameter a reference to a block axioma.
Result<LineOutcome> read_transclusion(ParserState& state, std::string_view rest, bool enlexis) {
    const std::size_t open = enlexis ? 1 : 0;
    const bool well_formed = rest.size() >= open + 2 && rest[open] == '(' && rest.back() == ')';
    if (!well_formed) {
        return other_error(
            state, enlexis ? "malformed anaphor-enlexis monosim" : "malformed trigraph monosim");
    }
    const std::string_view param = rest.substr(open + 1, rest.size() - open - 2);
    if (auto checked = check_monosim_parameter(state, param); !checked) {
        return std::move(checked).error();
    }
    ++state.pos;
    if (auto onym = parse_colon_name(param)) {
        return LineOutcome{Block(Block::AxiomaReference{enlexis, std::move(*onym)})};
    }
    if (enlexis) return LineOutcome{Block(Block::AnaphorEnlexis{std::string(param)})};
    return LineOutcome{Block(Block::Anaphor{std::string(param)})};
}

// "@@@." ... ".@@@": blocks grouped under one suffix.
Result<LineOutcome> read_diaphane(ParserState& state, const Dialektos& dialektos) {
    const std::uint64_t opener = state.pos++;
    const std::string closer = trigraph_closer(state, '.');
    return read_block_with_body(state, dialektos, opener, Block::Diaphane{}, closer,
                                [&](Block::Diaphane& diaphane) { return read_suffix(state, closer, diaphane.suffix); });
}

// "@@@/" ... "/@@@": a comment, on one line or on several. An opener whose
// closer turns up in running text instead begins a paragraph.
Result<LineOutcome> read_block_comment(ParserState& state, std::string_view rest) {
    const std::string closer = trigraph_closer(state, '/');
    const std::string_view inside = unicode::trim(rest.substr(1));
    if (inside.ends_with(closer)) {
        ++state.pos;
        return LineOutcome{NoBlock{}};
    }
    if (inside.find(closer) != std::string_view::npos) return LineOutcome{ParagraphStart{}};
    // The scan stops at the first line holding the closer. When that line is
    // not the closer alone, the opener line begins a paragraph, whose text the
    // inline parser reads as a comment opened at its very start: the
    // paragraph either runs through that line or fails, so no line is
    // scanned twice.
    std::uint64_t end = state.pos + 1;
    while (state.lines.has(end) && state.lines[end].find(closer) == std::string_view::npos) ++end;
    if (!state.lines.has(end)) {
        return block_error(state, Error(ErrorKind::UnmatchedSim, sigils(state, 3) + "/"),
                           state.pos);
    }
    if (unicode::trim(state.lines[end]) != closer) return LineOutcome{ParagraphStart{}};
    state.pos = end + 1;
    return LineOutcome{NoBlock{}};
}

// "@@@:" ... ":@@@(onym)": a named block axioma.
Result<LineOutcome> read_para_axioma(ParserState& state, const Dialektos& dialektos) {
    const std::uint64_t opener = state.pos++;
    const std::string closer = trigraph_closer(state, ':');
    // An axioma body holds no references of the outline.
    ReferenceSink* const references = std::exchange(state.references, nullptr);
    auto outcome = read_block_with_body(state, dialektos, opener, Block::ParaAxioma{}, closer, [&](Block::ParaAxioma& axioma) -> Status {
        const std::string_view after = unicode::trim_start(state.lines[state.pos]).substr(closer.size());
        if (after.size() < 2 || after.front() != '(' || after.back() != ')') {
            return other_error(state, "para-axioma requires `(onym)` on its episim");
        }
        const std::string_view onym = after.substr(1, after.size() - 2);
        if (!is_valid_onym(onym)) {
            return block_error(state, Error(ErrorKind::InvalidOnym, std::string(onym)), state.pos);
        }
        ++state.pos;
        axioma.onym = std::string(onym);
        return {};
    });
    state.references = references;
    return outcome;
}

}  // namespace

Result<LineOutcome> read_trigraph_form(ParserState& state, const Dialektos& dialektos,
                                       std::string_view rest) {
    if (rest.empty()) {
        return block_error(state, Error(ErrorKind::UndefinedSim, sigils(state, 3)), state.pos);
    }
    switch (rest.front()) {
        case '!':
            return read_englossis(state, rest);
        case '"':
            return read_monad_enlexis(state, rest);
        case '(':
            return read_transclusion(state, rest, false);
        case '+':
            return read_transclusion(state, rest, true);
        case '.':
            return read_diaphane(state, dialektos);
        case '/':
            return read_block_comment(state, rest);
        case ':':
            return read_para_axioma(state, dialektos);
        case '=': {
            auto block = parse_line_block(state, dialektos, rest.substr(1));
            if (!block) return std::move(block).error();
            return LineOutcome{std::move(block).value()};
        }
        default: {
            const std::string payload =
                concat({sigils(state, 3), rest.substr(0, unicode::char_length_at(rest, 0))});
            return block_error(state, Error(ErrorKind::UndefinedSim, payload), state.pos);
        }
    }
}

}  // namespace ilvex
