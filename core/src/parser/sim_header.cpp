#include "parser/sim_header.hpp"

#include <stdexcept>
#include <utility>

#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"
#include "parser/block_forms.hpp"
#include "parser/block_parser.hpp"
#include "parser/concat.hpp"
#include "parser/inline_parser.hpp"
#include "parser/sim_reference.hpp"
#include "parser/suffix.hpp"

namespace ilvex {
namespace {

Error at_line(const ParserState& state, Error error, std::uint64_t index) {
    return std::move(error).at(state.path, index + 1);
}

Error sim_message(const ParserState& state, const std::string& sim_name, const char* what,
                  std::uint64_t index) {
    return at_line(state, Error(ErrorKind::Message, concat({"sim `", sim_name, "` ", what})),
                   index);
}

// Inline content of a lemma (`whole`) or hypograph; nothing written is no
// content.
Result<std::vector<Inline>> inline_content(const ParserState& state, const Dialektos& dialektos,
                                           std::string_view text, std::uint64_t index, bool whole) {
    if (text.empty()) return std::vector<Inline>{};
    return parse_inline_text(state, dialektos, text, index, whole);
}

// The text between "(" and ")" after a sim token: "" is an empty taxis,
// digits a number. (The block parser hands over only digits, and no taxis
// for a sim without taxis, since it reads those lines as running text; the
// other refusals here serve direct callers.)
Result<Taxis> read_taxis(const ParserState& state, std::string_view text) {
    if (text.empty()) return Taxis::empty();
    std::uint64_t number = 0;
    for (const char c : text) {
        const bool digit = c >= '0' && c <= '9';
        const auto value = static_cast<std::uint64_t>(c - '0');
        if (!digit || number > (UINT64_MAX - value) / 10) {
            return at_line(state, Error(ErrorKind::Other, concat({"invalid taxis `", text, "`"})),
                           state.pos);
        }
        number = number * 10 + value;
    }
    return Taxis::of(number);
}

// Reads the taxis written right after the sim token and moves `text` past it.
Result<Taxis> read_written_taxis(const ParserState& state, const SimDef& sim,
                                 const ParaSimmere& form, std::string_view& text) {
    const std::size_t close = text.starts_with('(') ? text.find(')') : std::string_view::npos;
    if (close == std::string_view::npos) {
        if (form.taxis == Occurrence::Required) {
            return sim_message(state, sim.name, "requires a taxis", state.pos);
        }
        return Taxis::absent();
    }
    auto taxis = read_taxis(state, text.substr(1, close - 1));
    if (!taxis) return taxis;
    if (form.taxis == Occurrence::Absent) {
        return sim_message(state, sim.name, "does not support a taxis", state.pos);
    }
    text.remove_prefix(close + 1);
    return taxis;
}

Result<std::vector<Inline>> read_lemma(const ParserState& state, const Dialektos& dialektos,
                                       const SimDef& sim, const ParaSimmere& form,
                                       std::string_view text) {
    const std::string_view lemma = unicode::trim(text);
    if (lemma.empty() && form.lemma == Occurrence::Required) {
        return sim_message(state, sim.name, "requires a lemma", state.pos);
    }
    if (!lemma.empty() && form.lemma == Occurrence::Absent) {
        return sim_message(state, sim.name, "does not support a lemma", state.pos);
    }
    return inline_content(state, dialektos, lemma, state.pos, true);
}

struct VerseBody {
    std::vector<Strophe> strophes;
    bool closed = false;  // false: the text ended before the closer
};

// Reads verse lines from `state.pos` up to the line that begins with the
// closer, and leaves `pos` on it. Blank lines separate strophes; a verse
// line keeps its leading white space.
Result<VerseBody> read_verse_body(ParserState& state, const Dialektos& dialektos,
                                  std::string_view closer) {
    VerseBody body;
    Strophe strophe;
    auto close_strophe = [&] {
        if (!strophe.empty()) body.strophes.push_back(std::move(strophe));
        strophe.clear();
    };
    for (; state.lines.has(state.pos); ++state.pos) {
        const std::string_view line = state.lines[state.pos];
        const std::string_view start_trimmed = unicode::trim_start(line);
        if (begins_with_closer(start_trimmed, closer)) {
            close_strophe();
            body.closed = true;
            return body;
        }
        if (start_trimmed.empty()) {
            close_strophe();
            continue;
        }
        auto verse = parse_inline_text(state, dialektos, unicode::trim_end(line), state.pos);
        if (!verse) return std::move(verse).error();
        strophe.push_back(std::move(verse).value());
    }
    return body;
}

// The closing line at `state.pos`: the suffix after the closer, then the
// rest as hypograph, checked against `occurrence`.
Result<SuffixAndHypograph> read_closing_line(ParserState& state, const Dialektos& dialektos,
                                             std::size_t closer_length, Occurrence occurrence,
                                             const std::string& sim_name) {
    const std::uint64_t line = state.pos;
    const std::string_view after_closer =
        unicode::trim_start(state.lines[line]).substr(closer_length);
    auto suffix = parse_suffix_text(state, after_closer, line);
    if (!suffix) return std::move(suffix).error();
    const std::string_view rest = unicode::trim(suffix->rest);
    if (rest.empty() && occurrence == Occurrence::Required) {
        return sim_message(state, sim_name, "requires a hypograph", line);
    }
    if (!rest.empty() && occurrence == Occurrence::Absent) {
        return sim_message(state, sim_name, "does not support a hypograph", line);
    }
    auto hypograph = inline_content(state, dialektos, rest, line, false);
    if (!hypograph) return std::move(hypograph).error();
    state.pos = line + 1;
    return SuffixAndHypograph{std::move(suffix->suffix), std::move(hypograph).value()};
}

}  // namespace

Result<LineOutcome> parse_sim_header(ParserState& state, const Dialektos& dialektos, const SimDef& sim,
                                     std::string_view after_token,
                                     const std::optional<std::string>& name) {
    const auto* form = std::get_if<ParaSimmere>(&sim.form);
    if (form == nullptr)
        throw std::logic_error("parse_sim_header: sim `" + sim.name + "` is not a para-simmere");
    const std::uint64_t opener = state.pos;
    std::string_view rest = after_token;
    auto taxis = read_written_taxis(state, sim, *form, rest);
    if (!taxis) return std::move(taxis).error();
    auto lemma = read_lemma(state, dialektos, sim, *form, rest);
    if (!lemma) return std::move(lemma).error();

    ++state.pos;
    // An opener spelled "{name}" is closed by "{name}" spelled the same way.
    std::string storage;
    const std::string_view closer = body_closer(state.symbols_for(dialektos), sim, name, state.sigil(), storage);

    if (form->body == SimBody::Grammata) {
        // Made where it is passed: a Para moved is one more to unmake.
        return read_block_with_body(state, dialektos, opener,
                                    Block::Para{sim.mirrored, sim.symbol, std::move(lemma).value(), {}, {}, {}, *taxis},
                                    closer, [&](Block::Para& para) -> Status {
            auto closing = check_hypograph(state, dialektos, sim, closer.size(), form->hypograph);
            if (!closing) return std::move(closing).error();
            para.hypograph = std::move(closing->hypograph);
            para.suffix = std::move(closing->suffix);
            return {};
        });
    }
    auto body = read_verse_body(state, dialektos, closer);
    if (!body) return std::move(body).error();
    if (!body->closed) {
        return at_line(state, Error(ErrorKind::UnmatchedSim, state.sigil() + sim.symbol), opener);
    }
    auto closing = check_hypograph(state, dialektos, sim, closer.size(), form->hypograph);
    if (!closing) return std::move(closing).error();
    return LineOutcome{Block(Block::Stichoi{sim.mirrored, sim.symbol, std::move(lemma).value(),
                                            std::move(body->strophes), std::move(closing->hypograph),
                                            std::move(closing->suffix), *taxis})};
}

Result<SuffixAndHypograph> check_hypograph(ParserState& state, const Dialektos& dialektos,
                                           const SimDef& sim, std::size_t closer_length,
                                           Occurrence hypograph) {
    return read_closing_line(state, dialektos, closer_length, hypograph, sim.name);
}

Result<Block> parse_line_block(ParserState& state, const Dialektos& dialektos,
                               std::string_view after_opener) {
    const std::uint64_t opener = state.pos;
    auto lemma = inline_content(state, dialektos, unicode::trim(after_opener), opener, true);
    if (!lemma) return std::move(lemma).error();
    ++state.pos;
    const std::string closer = trigraph_closer(state, '=');
    auto body = read_verse_body(state, dialektos, closer);
    if (!body) return std::move(body).error();
    if (!body->closed) {
        return at_line(state, Error(ErrorKind::UnmatchedSim, sigils(state, 3) + "="), opener);
    }
    // The anonymous block has no sim whose settings could refuse a hypograph.
    auto closing = read_closing_line(state, dialektos, closer.size(), Occurrence::Optional, "");
    if (!closing) return std::move(closing).error();
    return Block(Block::Stichoi{true, std::nullopt, std::move(lemma).value(),
                                std::move(body->strophes), std::move(closing->hypograph),
                                std::move(closing->suffix), Taxis::absent()});
}

Result<Suffix> parse_rest_of_line(ParserState& state, std::string_view closer) {
    const std::uint64_t line = state.pos;
    const std::string_view after_closer =
        unicode::trim_start(state.lines[line]).substr(closer.size());
    auto suffix = parse_suffix_text(state, after_closer, line);
    if (!suffix) return std::move(suffix).error();
    const std::string_view rest = unicode::trim(suffix->rest);
    if (!rest.empty()) {
        return at_line(state,
                       Error(ErrorKind::Other,
                             concat({"unexpected content after `", closer, "`: `", rest, "`"})),
                       line);
    }
    state.pos = line + 1;
    return std::move(suffix->suffix);
}

}  // namespace ilvex
