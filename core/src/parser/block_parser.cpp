#include "parser/block_parser.hpp"

#include <algorithm>

#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"
#include "parser/block_forms.hpp"
#include "parser/concat.hpp"
#include "parser/sim_header.hpp"
#include "parser/sim_reference.hpp"

namespace ilvex {
namespace {

// Counts one level of `ParserState::depth` for as long as a parse_blocks
// call runs, whichever way it returns.
class DepthLevel {
public:
    explicit DepthLevel(std::uint64_t& depth) : depth_(depth) { ++depth_; }
    ~DepthLevel() { --depth_; }
    DepthLevel(const DepthLevel&) = delete;
    DepthLevel& operator=(const DepthLevel&) = delete;

private:
    std::uint64_t& depth_;
};

// A finished list of blocks at its exact size: the slack of growing it
// would stay allocated for as long as the tree lives.
std::vector<Block> exact(std::vector<Block>& blocks) {
    blocks.shrink_to_fit();
    return std::move(blocks);
}

bool is_ascii_digits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether the opener line of a para-simmere sim is running text after all:
// "(...)" right after the token that is not a taxis ("@#(intro) ..." begins
// with a deixis), or a taxis for a sim that takes none.
bool is_paragraph_after_token(std::string_view after_token, Occurrence taxis) {
    if (!after_token.starts_with('(')) return false;
    const std::size_t close = after_token.find(')', 1);
    if (close == std::string_view::npos) return false;
    if (!is_ascii_digits(after_token.substr(1, close - 1))) return true;
    return taxis == Occurrence::Absent;
}

// A line that begins with one sigil and a sim token.
Result<LineOutcome> read_sim_token_line(ParserState& state, const Dialektos& dialektos,
                                        std::string_view rest) {
    // Located only when it fails: most lines hold a sim that is found.
    auto reference = find_sim_reference(dialektos, state.symbols_for(dialektos), rest);
    if (!reference) return block_error(state, std::move(reference).error(), state.pos);
    const SimDef* sim = reference->sim;
    if (sim == nullptr) {
        const std::string payload =
            concat({sigils(state, 1), rest.substr(0, symbol_run_length(rest))});
        return block_error(state, Error(ErrorKind::UndefinedSim, payload), state.pos);
    }
    const auto* form = std::get_if<ParaSimmere>(&sim->form);
    if (form == nullptr) return LineOutcome{ParagraphStart{}};
    const std::string_view after_token = rest.substr(reference->byte_length);
    if (is_paragraph_after_token(after_token, form->taxis)) return LineOutcome{ParagraphStart{}};
    return parse_sim_header(state, dialektos, *sim, after_token, reference->name);
}

// "@@@@(param)": a media reference.
Result<LineOutcome> read_enmedia(ParserState& state, std::string_view rest) {
    if (rest.size() < 2 || rest.front() != '(' || rest.back() != ')') {
        return block_error(state, Error(ErrorKind::Other, "malformed enmedia monosim"), state.pos);
    }
    const std::string_view param = rest.substr(1, rest.size() - 2);
    if (auto checked = check_monosim_parameter(state, param); !checked) {
        return std::move(checked).error();
    }
    ++state.pos;
    return LineOutcome{Block(Block::Enmedia{std::string(param)})};
}

// Classifies a non-blank line (start trimmed) by its run of sigils.
Result<LineOutcome> read_line(ParserState& state, const Dialektos& dialektos,
                              std::string_view line) {
    const std::size_t run = sigil_run_length(line, state.sigil());
    if (run > 4) {
        return block_error(state, Error(ErrorKind::SigilRunTooLong, std::uint64_t{run}), state.pos);
    }
    const std::string_view rest = line.substr(run);
    switch (run) {
        case 1:
            // A line that begins with an onym anchor or a milestone is text.
            if (rest.starts_with('(')) return LineOutcome{ParagraphStart{}};
            return read_sim_token_line(state, dialektos, rest);
        case 3:
            return read_trigraph_form(state, dialektos, rest);
        case 4:
            return read_enmedia(state, rest);
        default:
            return LineOutcome{ParagraphStart{}};
    }
}

// The name of the sim a Para or Stichoi block was parsed with, found in the
// index of the dialektos in force when that is the one.
const std::string* sim_name(const ParserState& state, const Dialektos& dialektos, const std::string& symbol) {
    if (const SymbolIndex* index = state.symbols_for(dialektos)) {
        if (const SimDef* sim = index->find(symbol)) return &sim->name;
    }
    const auto found = dialektos.sims.find(symbol);
    return found == dialektos.sims.end() ? nullptr : &found->second.name;
}

}  // namespace

void append_record(ParserState& state, const Dialektos& dialektos, const Block& block,
                   std::uint64_t opener) {
    const bool outlined = std::holds_alternative<Block::Para>(block.node) ||
                          std::holds_alternative<Block::Stichoi>(block.node) ||
                          std::holds_alternative<Block::Diaphane>(block.node) ||
                          std::holds_alternative<Block::Englossis>(block.node);
    if (!outlined) return;
    const std::uint64_t start = opener + 1;
    const std::uint64_t end = std::max(start, state.pos);
    const std::uint64_t depth = state.depth - 1;
    auto add = [&](OutlineKind kind, const std::string* symbol, const std::string* name, std::string_view lemma,
                   const Suffix& suffix) {
        state.records.add(kind, symbol, name, depth, start, end, lemma, suffix.onym, suffix.genoses);
    };
    if (const auto* para = std::get_if<Block::Para>(&block.node)) {
        add(OutlineKind::Para, &para->symbol, sim_name(state, dialektos, para->symbol), inline_plain_text(para->lemma),
            para->suffix);
    } else if (const auto* stichoi = std::get_if<Block::Stichoi>(&block.node)) {
        const std::string* symbol = stichoi->symbol ? &*stichoi->symbol : nullptr;
        add(OutlineKind::Stichoi, symbol, symbol ? sim_name(state, dialektos, *symbol) : nullptr,
            inline_plain_text(stichoi->lemma), stichoi->suffix);
    } else if (const auto* diaphane = std::get_if<Block::Diaphane>(&block.node)) {
        add(OutlineKind::Diaphane, nullptr, nullptr, {}, diaphane->suffix);
    } else {
        const auto& englossis = std::get<Block::Englossis>(block.node);
        add(OutlineKind::Englossis, &englossis.dialektos, nullptr, {}, englossis.suffix);
    }
}

std::size_t sigil_run_length(std::string_view line, char sigil) {
    std::size_t run = 0;
    while (run < line.size() && line[run] == sigil) ++run;
    return run;
}

Status check_monosim_parameter(const ParserState& state, std::string_view parameter) {
    for (std::size_t i = 0; i < parameter.size();) {
        if (unicode::is_whitespace(unicode::next_char(parameter, i))) {
            return block_error(state, Error(ErrorKind::MonosimWhitespace, std::string(parameter)),
                               state.pos);
        }
    }
    return {};
}

std::optional<std::string> parse_colon_name(std::string_view text) {
    if (text.size() < 2 || text.front() != ':' || text.back() != ':') return std::nullopt;
    return std::string(text.substr(1, text.size() - 2));
}

Result<std::vector<Block>> parse_blocks(ParserState& state, const Dialektos& dialektos,
                                        std::optional<std::string_view> closer) {
    const DepthLevel level(state.depth);
    // A body's opener is the line just before the one its parse starts on.
    const std::uint64_t opener_line = std::max<std::uint64_t>(state.pos, 1);
    if (state.depth - 1 > max_block_nesting) {
        return Error(ErrorKind::Other, "nesting deeper than 256 levels")
            .at(state.path, opener_line);
    }
    std::vector<Block> blocks;
    auto finished = [&](Block&& block) {
        if (state.sink != nullptr) {
            state.sink->block(std::move(block));
        } else {
            blocks.push_back(std::move(block));
        }
    };
    while (true) {
        // No reader goes back before the line it stands on (what it keeps
        // of earlier lines are views of the text), so the window holds the
        // lines of about one block, at any depth.
        state.lines.drop_before(state.pos);
        // Between top-level blocks no opener is kept either: the text read
        // so far is done with.
        if (state.depth == 1 && state.text_done) state.text_done(state.lines.dropped_bytes());
        if (!state.lines.has(state.pos)) {
            if (!closer) return exact(blocks);
            return Error(ErrorKind::UnmatchedSim,
                         concat({"block closed by `", *closer, "` (opened near here)"}))
                .at(state.path, opener_line);
        }
        const std::string_view line = unicode::trim_start(state.lines[state.pos]);
        if (line.empty()) {
            ++state.pos;
            continue;
        }
        if (closer && begins_with_closer(line, *closer)) return exact(blocks);

        const std::uint64_t opener = state.pos;
        auto outcome = read_line(state, dialektos, line);
        if (!outcome) return std::move(outcome).error();
        if (std::holds_alternative<NoBlock>(*outcome) || std::holds_alternative<HandedOver>(*outcome)) {
            continue;
        }
        if (std::holds_alternative<ParagraphStart>(*outcome)) {
            auto paragraph = collect_paragraph(state, dialektos, closer);
            if (!paragraph) return std::move(paragraph).error();
            if (auto* block = std::get_if<Block>(&*paragraph)) finished(std::move(*block));
            continue;
        }
        Block& block = std::get<Block>(*outcome);
        if (state.collect_records) append_record(state, dialektos, block, opener);
        finished(std::move(block));
    }
}

}  // namespace ilvex
