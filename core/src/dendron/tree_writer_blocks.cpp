#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <variant>

#include "dendron/overloaded.hpp"
#include "dendron/tree_writer.hpp"
#include "dendron/writable_values.hpp"
#include "dialektos/lexical.hpp"
#include "dialektos/std_parse_cache.hpp"
#include "dialektos/unicode.hpp"

namespace ilvex::writing {

void TreeWriter::declaration(std::string_view dialektos, const std::optional<std::string>& version) {
    out_ += "@@@!";
    out_ += dialektos;
    if (version) {
        out_ += '@';
        out_ += *version;
    }
    out_ += '\n';
}

void TreeWriter::next(const Block& block) {
    if (paragraph_) return finish_paragraph(block);
    if (open_.empty() && !top_level_previous_ && !writes_nothing(block)) out_ += '\n';
    sequence_item(block, previous(), enclosing_closer());
}

std::size_t TreeWriter::begin_written_paragraph() {
    const std::size_t before = out_.size();
    separate_next(BlockKind::Paragraph);
    return before;
}

void TreeWriter::end_written_paragraph() {
    out_ += '\n';
    previous() = BlockKind::Paragraph;
}

void TreeWriter::written_open(BlockKind kind, std::string_view opener, std::string closer) {
    separate_next(kind);
    previous() = kind;
    out_ += opener;
    open_.push_back({BodyEnd{std::move(closer)}, std::nullopt, dialektos_});
}

void TreeWriter::written_close(std::string_view closing_line) {
    dialektos_ = open_.back().outer_dialektos;
    open_.pop_back();
    out_ += closing_line;
}

void TreeWriter::open(const Block& block) {
    separate_next(block.kind());
    previous() = block.kind();
    const Dialektos* outer = dialektos_;
    open_.push_back({open_body(block), std::nullopt, outer});
}

void TreeWriter::close(const Block& block) {
    const OpenBody body = std::move(open_.back());
    open_.pop_back();
    dialektos_ = body.outer_dialektos;
    close_body(block, body.end);
}

void TreeWriter::blocks(const std::vector<Block>& list, std::string_view closer) {
    std::optional<BlockKind> previous;
    for (const Block& block : list) sequence_item(block, previous, closer);
}

void TreeWriter::sequence_item(const Block& block, std::optional<BlockKind>& previous, std::string_view closer) {
    if (writes_nothing(block)) return;
    separate(previous, block.kind());
    write(block, closer);
    previous = block.kind();
}

void TreeWriter::separate_next(BlockKind kind) {
    if (open_.empty() && !top_level_previous_) out_ += '\n';
    separate(previous(), kind);
}

void TreeWriter::separate(const std::optional<BlockKind>& previous, BlockKind next) {
    if (previous && !is_monosim_block(*previous) && !is_monosim_block(next)) out_ += '\n';
}

TreeWriter::BodyEnd TreeWriter::open_body(const Block& block) {
    return std::visit(overloaded{
                          [&](const Block::Para& x) {
                              const ParaSpelling& spelling = opener(x.symbol, x.mirrored, x.taxis, x.lemma);
                              return BodyEnd{spelling.closer, spelling.hypograph_required};
                          },
                          [&](const Block::Diaphane&) {
                              out_ += "@@@.\n";
                              return BodyEnd{".@@@"};
                          },
                          [&](const Block::Englossis& x) {
                              out_ += "@@@!(";
                              out_ += x.dialektos;
                              out_ += ")\n";
                              dialektos_ = embedded(x.dialektos);
                              return BodyEnd{"!@@@"};
                          },
                          [&](const Block::ParaAxioma&) {
                              out_ += "@@@:\n";
                              return BodyEnd{":@@@"};
                          },
                          [](const auto&) -> BodyEnd { throw std::logic_error("a block without a body"); },
                      },
                      block.node);
}

void TreeWriter::close_body(const Block& block, const BodyEnd& end) {
    std::visit(overloaded{
                   [&](const Block::Para& x) {
                       closing_line(end.closer, x.suffix, x.hypograph, end.hypograph_required);
                   },
                   [&](const Block::Diaphane& x) { closing_line(end.closer, x.suffix, {}); },
                   [&](const Block::Englossis& x) { closing_line(end.closer, x.suffix, {}); },
                   [&](const Block::ParaAxioma& x) { call_line(":@@@(", x.onym, ")"); },
                   [](const auto&) { throw std::logic_error("a block without a body"); },
               },
               block.node);
}

void TreeWriter::write(const Block& block, std::string_view closer) {
    if (const std::vector<Block>* children = body_of(block)) {
        const Dialektos* outer = dialektos_;
        const BodyEnd end = open_body(block);
        blocks(*children, end.closer);
        dialektos_ = outer;
        close_body(block, end);
        return;
    }
    std::visit(overloaded{
                   [&](const Block::Paragraph& x) { text_lines(x.inlines, Lines::Paragraph, closer); },
                   [&](const Block::Stichoi& x) {
                       BodyEnd end{"=@@@"};
                       if (x.symbol) {
                           const ParaSpelling& spelling = opener(*x.symbol, x.mirrored, x.taxis, x.lemma);
                           end = {spelling.closer, spelling.hypograph_required};
                       } else {
                           out_ += "@@@=";
                           phrase(x.lemma, false);
                           out_ += '\n';
                       }
                       strophes(x.strophes, end.closer);
                       closing_line(end.closer, x.suffix, x.hypograph, end.hypograph_required);
                   },
                   [&](const Block::MonadEnlexis& x) { monad_enlexis(x, closer); },
                   [&](const Block::Enmedia& x) { call_line("@@@@(", writable_parameter(x.param), ")"); },
                   [&](const Block::EnmediaDigest& x) { call_line("@@@@[SHA256:", x.digest, "]"); },
                   [&](const Block::Anaphor& x) { call_line("@@@(", writable_parameter(x.param), ")"); },
                   [&](const Block::AnaphorEnlexis& x) {
                       call_line("@@@+(", writable_parameter(x.param), ")");
                   },
                   [&](const Block::AxiomaReference& x) { call_line(x.enlexis ? "@@@+(:" : "@@@(:", x.onym, ":)"); },
                   [](const auto&) {},  // blocks with a body are written above
               },
               block.node);
}

void TreeWriter::monad_enlexis(const Block::MonadEnlexis& x, std::string_view closer) {
    const std::vector<Block> pieces = literal_blocks(x.text, x.suffix);
    if (pieces.size() != 1 || pieces.front().kind() != BlockKind::MonadEnlexis) return blocks(pieces, closer);
    const std::string& text = std::get<Block::MonadEnlexis>(pieces.front().node).text;
    out_ += "@@@\"\n";
    out_ += text;
    if (text.empty() || text.back() != '\n') out_ += '\n';
    closing_line("\"@@@", x.suffix, {});
}

void TreeWriter::call_line(std::string_view open, std::string_view param, std::string_view close) {
    out_ += open;
    out_ += param;
    out_ += close;
    out_ += '\n';
}

const TreeWriter::ParaSpelling& TreeWriter::opener(const std::string& symbol, bool mirrored, const Taxis& taxis,
                                                   const std::vector<Inline>& lemma) {
    const ParaSpelling& spelling = para_spelling(symbol, mirrored, taxis.state != Taxis::State::Absent);
    out_ += '@';
    out_ += spelling.token;
    write_taxis(taxis, out_);
    phrase(lemma, spelling.lemma_required);
    out_ += '\n';
    return spelling;
}

const TreeWriter::ParaSpelling& TreeWriter::para_spelling(std::string_view symbol, bool mirrored, bool taxis) {
    // The flags lead the key, so that no symbol can be read as another's.
    key_buffer_.assign(1, static_cast<char>((mirrored ? 1 : 0) | (taxis ? 2 : 0)));
    key_buffer_ += symbol;
    Known& known_here = known();
    if (const auto* recent = known_here.recent_para_spellings.find(key_buffer_)) return recent->second;
    auto& spellings = known_here.para_spellings;
    if (auto found = spellings.find(std::string_view(key_buffer_)); found != spellings.end()) {
        known_here.recent_para_spellings.remember(*found);
        return found->second;
    }
    ParaSpelling spelling;
    spelling.token = sim_token(symbol, opener_run(symbol, taxis ? Taxis::empty() : Taxis::absent()), false).text;
    spelling.closer = episim_symbol(spelling.token, mirrored) + '@';
    if (const ParaSimmere* form = para_form(symbol)) {
        spelling.lemma_required = form->lemma == Occurrence::Required;
        spelling.hypograph_required = form->hypograph == Occurrence::Required;
    }
    const auto& made = *spellings.emplace(key_buffer_, std::move(spelling)).first;
    known_here.recent_para_spellings.remember(made);
    return made.second;
}

void TreeWriter::closing_line(std::string_view closer, const Suffix& suffix, const std::vector<Inline>& hypograph,
                  bool required) {
    out_ += closer;
    write_suffix(suffix, out_);
    phrase(hypograph, required);
    out_ += '\n';
}

const ParaSimmere* TreeWriter::para_form(std::string_view symbol) {
    if (!dialektos_) return nullptr;
    const SimDef* sim = nullptr;
    if (symbol.starts_with('{') && symbol.ends_with('}') && symbol.size() >= 2) {
        const NameLookup found = named(symbol.substr(1, symbol.size() - 2));
        if (found.outcome == NameLookup::Outcome::Found) sim = found.sim;
    } else {
        sim = symbols().find(symbol);
    }
    return sim ? std::get_if<ParaSimmere>(&sim->form) : nullptr;
}

const Dialektos* TreeWriter::embedded(const std::string& id) {
    if (!resolve_) return nullptr;
    auto found = embedded_.find(id);
    if (found == embedded_.end()) {
        auto resolved = resolve_(id);
        std::optional<Dialektos> dialektos;
        if (resolved) dialektos = std::move(resolved).value();
        found = embedded_.emplace(id, std::move(dialektos)).first;
    }
    return found->second ? &*found->second : nullptr;
}

TreeWriter::Known& TreeWriter::known() {
    if (known_last_ == nullptr || known_for_ != dialektos_) {
        known_last_ = dialektos_ == document_dialektos_ ? &document_known_ : &known_[dialektos_];
        known_for_ = dialektos_;
    }
    return *known_last_;
}

const SymbolIndex& TreeWriter::symbols() {
    Known& known_here = known();
    if (known_here.symbols == nullptr) {
        const SymbolIndex* shared = std_symbol_index(*dialektos_);
        known_here.symbols = shared ? shared : &known_here.own_symbols.emplace(*dialektos_);
    }
    return *known_here.symbols;
}

NameLookup TreeWriter::named(std::string_view name) {
    auto& lookups = known().names;
    auto found = lookups.find(name);
    if (found == lookups.end()) found = lookups.emplace(std::string(name), sim_by_name(*dialektos_, name)).first;
    return found->second;
}

void TreeWriter::strophes(const std::vector<Strophe>& list, std::string_view closer) {
    bool first = true;
    for (const Strophe& strophe : list) {
        if (strophe.empty()) continue;
        if (!first) out_ += '\n';
        first = false;
        for (const auto& line : strophe) {
            text_lines(line, Lines::Verse, closer);
            out_ += '\n';
        }
    }
}

void TreeWriter::phrase(const std::vector<Inline>& list, bool required) {
    // Most Para openers and closing lines have none.
    if (list.empty()) {
        if (required) {
            out_ += ' ';
            out_ += line_comment;
        }
        return;
    }
    const std::size_t mark = out_.size();
    out_ += ' ';
    text_lines(list, Lines::Single, {});
    if (out_.size() > mark + 1) return;
    if (required) {
        out_ += line_comment;
    } else {
        out_.pop_back();
    }
}

}  // namespace ilvex::writing
