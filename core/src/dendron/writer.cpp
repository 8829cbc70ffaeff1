#include "dendron/writer.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <map>
#include <optional>
#include <stdexcept>
#include <unordered_map>
#include <variant>

#include "dendron/overloaded.hpp"
#include "dendron/size_estimate.hpp"
#include "dendron/writable_values.hpp"
#include "dialektos/byte_set.hpp"
#include "dialektos/lexical.hpp"
#include "dialektos/sim_lookup.hpp"
#include "dialektos/symbol_index.hpp"
#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

constexpr std::size_t nowhere = std::string::npos;

// Reads as nothing anywhere in running text. It keeps a sim's symbol apart
// from symbol characters after it, and opens a line that the block parser
// would otherwise take for the end of the enclosing block.
constexpr std::string_view empty_comment = "@@@//@@@";

// Reads as nothing up to the end of its line: the content of a line that
// must not be blank.
constexpr std::string_view line_comment = "@@/";

// The only (ASCII) characters of a text that are written otherwise than as
// they are.
constexpr ByteSet written_otherwise("@|\\\n\r");

// The blocks written without a blank line before or after them.
bool is_monosim_block(BlockKind kind) {
    switch (kind) {
        case BlockKind::Enmedia:
        case BlockKind::EnmediaDigest:
        case BlockKind::Anaphor:
        case BlockKind::AnaphorEnlexis:
        case BlockKind::AxiomaReference:
            return true;
        default:
            return false;
    }
}

// Hashes a symbol given as a string or as a view alike, so that a lookup
// copies nothing.
struct SymbolHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view symbol) const { return std::hash<std::string_view>{}(symbol); }
};

// The children of a block with a body of blocks; null for any other block.
const std::vector<Block>* body_of(const Block& block) {
    return std::visit(overloaded{
                          [](const Block::Para& x) { return &x.children; },
                          [](const Block::Diaphane& x) { return &x.children; },
                          [](const Block::Englossis& x) { return &x.children; },
                          [](const Block::ParaAxioma& x) { return &x.children; },
                          [](const auto&) -> const std::vector<Block>* { return nullptr; },
                      },
                      block.node);
}

// A paragraph of white space only: written, it would be blank lines, which
// the parser skips, so it is not written at all (and separates nothing).
bool writes_nothing(const Block& block) {
    const auto* paragraph = std::get_if<Block::Paragraph>(&block.node);
    return paragraph && std::all_of(paragraph->inlines.begin(), paragraph->inlines.end(), [](const Inline& item) {
               const auto* text = std::get_if<Inline::Text>(&item.node);
               return text && unicode::trim(text->text).empty();
           });
}

char32_t first_char(std::string_view text) {
    std::size_t i = 0;
    return text.empty() ? 0 : unicode::next_char(text, i);
}

// The characters that the suffix reader takes into a genos run.
bool continues_genos(char32_t c) {
    return c == '-' || (unicode::is_alphanumeric(c) && !unicode::is_uppercase(c));
}

// What the suffix reader would take for an onym or a genos of the item
// before: "(", or "." and an alphabetic character that is not uppercase.
bool looks_like_suffix(std::string_view text) {
    if (text.starts_with('(')) return true;
    if (!text.starts_with('.') || text.size() < 2) return false;
    std::size_t i = 1;
    const char32_t c = unicode::next_char(text, i);
    return unicode::is_alphabetic(c) && !unicode::is_uppercase(c);
}

// Texts that agree as far as the shorter one reaches.
bool prefix_related(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    return a.substr(0, n) == b.substr(0, n);
}

bool is_ascii_digits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// What the parser leaves for the text after an inline item: whether it
// reads a suffix there and what that suffix held.
struct After {
    bool reads_suffix = false;
    bool genoses = false;
    bool empty_suffix = false;
};

After after(const Inline& item) {
    const Suffix* suffix = std::visit(
        overloaded{
            [](const Inline::EndoSimmere& x) { return &x.suffix; },
            [](const Inline::Enlexis& x) { return &x.suffix; },
            [](const Inline::Diaphane& x) { return &x.suffix; },
            [](const Inline::Monosim& x) { return &x.suffix; },
            [](const Inline::Milestone& x) { return &x.suffix; },
            [](const Inline::Deixis& x) { return &x.suffix; },
            [](const auto&) -> const Suffix* { return nullptr; },
        },
        item.node);
    if (!suffix) return {};
    return {true, !suffix->genoses.empty(), suffix->empty()};
}

// Whether a closer written right after an item would be read as part of the
// item's suffix: "|" ends a suffix, "(" opens its onym, "-" continues a genos.
bool closer_joins_suffix(const After& previous, std::string_view closer) {
    if (!previous.reads_suffix || closer.empty()) return false;
    switch (closer.front()) {
        case '|': return true;
        case '(': return previous.empty_suffix;
        case '-': return previous.genoses;
        default: return false;
    }
}

// How an inline item's text begins, as far as a closer or a block closer in
// front of it can reach: its sigils and the character after them (never a
// sigil, whatever the sim token becomes). A sim's symbol is spelled into
// `buffer`, which the answer then views.
std::string_view opener_of(const Inline& item, std::string& buffer) {
    auto sim = [&](const std::string& symbol) {
        buffer.assign(1, '@');
        buffer += symbol;
        return std::string_view(buffer);
    };
    return std::visit(overloaded{
                          [](const Inline::Text&) { return std::string_view(); },
                          [&](const Inline::EndoSimmere& x) { return sim(x.symbol); },
                          [](const Inline::Enlexis&) { return std::string_view("@@\""); },
                          [](const Inline::Diaphane&) { return std::string_view("@@."); },
                          [&](const Inline::Monosim& x) { return sim(x.symbol); },
                          [](const Inline::OnymAnchor&) { return std::string_view("@("); },
                          [](const Inline::Milestone&) { return std::string_view("@(\""); },
                          [&](const Inline::Deixis& x) { return sim(x.symbol); },
                          [](const Inline::EndoAxioma&) { return std::string_view("@@:"); },
                          [](const Inline::AxiomaReference& x) { return std::string_view(x.enlexis ? "@@+" : "@@("); },
                      },
                      item.node);
}

// The symbol characters the parser may see after an endo-simmere's symbol:
// those its content begins with, then, when the content has no other
// character, a "|" separator in front of markup or the episim of its closer.
// Escapes only end the run earlier, so the run may be longer than the one
// written, which makes the check on it stricter, never laxer.
std::string lead_after_opener(const Inline::EndoSimmere& item) {
    std::string lead;
    for (const Inline& child : item.children) {
        const auto* text = std::get_if<Inline::Text>(&child.node);
        if (!text) return lead + '|';
        const std::size_t run = symbol_run_length(text->text);
        lead.append(text->text, 0, run);
        if (run < text->text.size()) return lead;
    }
    return lead.append(episim_symbol(item.symbol, item.mirrored));
}

// What the parser reads a para-simmere's token from: its symbol, and the
// "(" of a taxis after it.
std::string opener_run(std::string_view symbol, const Taxis& taxis) {
    std::string run(symbol);
    if (taxis.state != Taxis::State::Absent) run += '(';
    return run;
}

// What the parser reads a monosim's or deixis's token from: the whole call.
std::string call_run(std::string_view symbol, std::string_view param, const Suffix& suffix) {
    std::string run(symbol);
    run += '(';
    run += param;
    run += ')';
    write_suffix(suffix, run);
    return run;
}

void write_taxis(const Taxis& taxis, std::string& out) {
    switch (taxis.state) {
        case Taxis::State::Empty:
            out += "()";
            break;
        case Taxis::State::Number:
            out += '(';
            out += std::to_string(taxis.number);
            out += ')';
            break;
        case Taxis::State::Absent:
            break;
    }
}

// How the block parser meets the lines of the inline text being written.
enum class Lines : std::uint8_t {
    Single,     // a lemma or a hypograph: white space at both ends is trimmed
    Verse,      // a verse line: leading white space is content, the end is trimmed
    Paragraph,  // running text: every "\n" begins a line that the block parser classifies anew
};

class Writer {
public:
    Writer(std::string& out, const Dialektos* dialektos, const ResolveDialektos& resolve)
        : out_(out), dialektos_(dialektos), resolve_(resolve) {}

    void declaration(std::string_view dialektos, const std::optional<std::string>& version) {
        out_ += "@@@!";
        out_ += dialektos;
        if (version) {
            out_ += '@';
            out_ += *version;
        }
        out_ += '\n';
    }

    // The next block of the innermost body opened and not yet closed, or of
    // the top level. The first top-level block that writes anything is
    // preceded by the blank line after the declaration.
    void next(const Block& block) {
        if (open_.empty() && !top_level_previous_ && !writes_nothing(block)) out_ += '\n';
        sequence_item(block, previous(), enclosing_closer());
    }

    // A block with a body, handed over before its children: its opener is
    // written now, its closing line by `close`.
    void open(const Block& block) {
        if (open_.empty() && !top_level_previous_) out_ += '\n';
        separate(previous(), block.kind());
        previous() = block.kind();
        const Dialektos* outer = dialektos_;
        open_.push_back({open_body(block), std::nullopt, outer});
    }

    // The text written so far has gone elsewhere: no position in it is
    // remembered any longer.
    void forget_written() { escaped_at_ = nowhere; }

    void close(const Block& block) {
        const OpenBody body = std::move(open_.back());
        open_.pop_back();
        dialektos_ = body.outer_dialektos;
        close_body(block, body.closer);
    }

private:
    // A block whose body is being written block by block.
    struct OpenBody {
        std::string closer;
        std::optional<BlockKind> previous;  // the last block of the body written
        const Dialektos* outer_dialektos;   // in force again after the body
    };

    std::optional<BlockKind> top_level_previous_;
    std::vector<OpenBody> open_;

    std::optional<BlockKind>& previous() { return open_.empty() ? top_level_previous_ : open_.back().previous; }
    std::string_view enclosing_closer() const { return open_.empty() ? std::string_view() : open_.back().closer; }

    // A sim token as written: the symbol or "{name}", and whether an empty
    // comment must follow it.
    struct Token {
        std::string text;
        bool comment_after = false;
    };

    // `closer` is the closer of the enclosing block ("" at the top level):
    // no line of a paragraph or verse may begin with it.
    void blocks(const std::vector<Block>& list, std::string_view closer) {
        std::optional<BlockKind> previous;
        for (const Block& block : list) sequence_item(block, previous, closer);
    }

    // One block of a sequence, after the blank line that separates it from
    // the last block written (`previous`), unless a monosim block stands on
    // either side.
    void sequence_item(const Block& block, std::optional<BlockKind>& previous, std::string_view closer) {
        if (writes_nothing(block)) return;
        separate(previous, block.kind());
        write(block, closer);
        previous = block.kind();
    }

    void separate(const std::optional<BlockKind>& previous, BlockKind next) {
        if (previous && !is_monosim_block(*previous) && !is_monosim_block(next)) out_ += '\n';
    }

    // Writes the opener of a block with a body (an Englossis puts its
    // dialektos in force) and returns the body's closer.
    std::string open_body(const Block& block) {
        return std::visit(overloaded{
                              [&](const Block::Para& x) { return opener(x.symbol, x.mirrored, x.taxis, x.lemma); },
                              [&](const Block::Diaphane&) {
                                  out_ += "@@@.\n";
                                  return std::string(".@@@");
                              },
                              [&](const Block::Englossis& x) {
                                  out_ += "@@@!(";
                                  out_ += x.dialektos;
                                  out_ += ")\n";
                                  dialektos_ = embedded(x.dialektos);
                                  return std::string("!@@@");
                              },
                              [&](const Block::ParaAxioma&) {
                                  out_ += "@@@:\n";
                                  return std::string(":@@@");
                              },
                              [](const auto&) -> std::string { throw std::logic_error("a block without a body"); },
                          },
                          block.node);
    }

    // Writes the closing line of a block with a body.
    void close_body(const Block& block, std::string_view closer) {
        std::visit(overloaded{
                       [&](const Block::Para& x) {
                           closing_line(closer, x.suffix, x.hypograph, hypograph_required(x.symbol));
                       },
                       [&](const Block::Diaphane& x) { closing_line(closer, x.suffix, {}); },
                       [&](const Block::Englossis& x) { closing_line(closer, x.suffix, {}); },
                       [&](const Block::ParaAxioma& x) { call_line(":@@@(", x.onym, ")"); },
                       [](const auto&) { throw std::logic_error("a block without a body"); },
                   },
                   block.node);
    }

    void write(const Block& block, std::string_view closer) {
        if (const std::vector<Block>* children = body_of(block)) {
            const Dialektos* outer = dialektos_;
            const std::string end = open_body(block);
            blocks(*children, end);
            dialektos_ = outer;
            close_body(block, end);
            return;
        }
        std::visit(overloaded{
                       [&](const Block::Paragraph& x) {
                           text_lines(x.inlines, Lines::Paragraph, closer);
                           out_ += '\n';
                       },
                       [&](const Block::Stichoi& x) {
                           std::string end = "=@@@";
                           if (x.symbol) {
                               end = opener(*x.symbol, x.mirrored, x.taxis, x.lemma);
                           } else {
                               out_ += "@@@=";
                               phrase(x.lemma, false);
                               out_ += '\n';
                           }
                           strophes(x.strophes, end);
                           closing_line(end, x.suffix, x.hypograph, x.symbol && hypograph_required(*x.symbol));
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

    // A line that would close the block early, or a carriage return that
    // a document line loses at its end, cannot stand in the body: such a
    // text is written as the literal blocks that hold the same lines.
    void monad_enlexis(const Block::MonadEnlexis& x, std::string_view closer) {
        const std::vector<Block> pieces = literal_blocks(x.text, x.suffix);
        if (pieces.size() != 1 || pieces.front().kind() != BlockKind::MonadEnlexis) return blocks(pieces, closer);
        const std::string& text = std::get<Block::MonadEnlexis>(pieces.front().node).text;
        out_ += "@@@\"\n";
        out_ += text;
        if (text.empty() || text.back() != '\n') out_ += '\n';
        closing_line("\"@@@", x.suffix, {});
    }

    void call_line(std::string_view open, std::string_view param, std::string_view close) {
        out_ += open;
        out_ += param;
        out_ += close;
        out_ += '\n';
    }

    // Writes the opener line of a para-simmere and returns its closer.
    std::string opener(const std::string& symbol, bool mirrored, const Taxis& taxis,
                       const std::vector<Inline>& lemma) {
        const std::string token = sim_token(symbol, opener_run(symbol, taxis), false).text;
        out_ += '@';
        out_ += token;
        write_taxis(taxis, out_);
        const ParaSimmere* form = para_form(symbol);
        phrase(lemma, form && form->lemma == Occurrence::Required);
        out_ += '\n';
        return episim_symbol(token, mirrored) + '@';
    }

    // The hypograph is written as text that follows no markup: the space in
    // front of it already ends the suffix.
    void closing_line(std::string_view closer, const Suffix& suffix, const std::vector<Inline>& hypograph,
                      bool required = false) {
        out_ += closer;
        write_suffix(suffix, out_);
        phrase(hypograph, required);
        out_ += '\n';
    }

    bool hypograph_required(const std::string& symbol) {
        const ParaSimmere* form = para_form(symbol);
        return form && form->hypograph == Occurrence::Required;
    }

    // The para-simmere form of the sim a block's symbol (or "{name}") names.
    const ParaSimmere* para_form(std::string_view symbol) {
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

    // The dialektos an Englossis block names, resolved once per id; null
    // when it cannot be resolved.
    const Dialektos* embedded(const std::string& id) {
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

    // The index of `dialektos_`, built once for each dialektos met.
    const SymbolIndex& symbols() {
        auto found = indexes_.find(dialektos_);
        if (found == indexes_.end()) found = indexes_.emplace(dialektos_, SymbolIndex(*dialektos_)).first;
        return found->second;
    }

    // A name lookup passes over every sim and glossa entry: each name is
    // looked up once per dialektos.
    NameLookup named(std::string_view name) {
        auto& lookups = names_[dialektos_];
        auto found = lookups.find(name);
        if (found == lookups.end()) found = lookups.emplace(std::string(name), sim_by_name(*dialektos_, name)).first;
        return found->second;
    }

    // Strophes are separated by one blank line; an empty one would only
    // add blank lines, which separate nothing more.
    void strophes(const std::vector<Strophe>& list, std::string_view closer) {
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

    // A lemma or a hypograph: " " and the text, or nothing when the text
    // writes nothing. Where the sim requires one, an empty one (which the
    // parser reads from a comment) is written as a comment.
    void phrase(const std::vector<Inline>& list, bool required) {
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

    // Writes inline text that stands on lines of its own, and leaves out
    // what the parser trims there, so that the text reads back as written.
    void text_lines(const std::vector<Inline>& list, Lines lines, std::string_view block_closer) {
        line_ = LineState{lines, block_closer, true, true, out_.size()};
        const std::size_t start = out_.size();
        inlines(list, {});
        if (lines == Lines::Paragraph) {
            // A paragraph whose text ends in a line break would end in a
            // blank line, which the parser does not take into the paragraph.
            if (line_.at_line_start) out_ += line_comment;
            return;
        }
        trim_end(start);
        if (lines == Lines::Verse && out_.size() == start) out_ += line_comment;
    }

    void trim_end(std::size_t start) {
        std::size_t end = out_.size();
        while (end > start) {
            std::size_t before = end;
            if (!unicode::is_whitespace(unicode::prev_char(out_, before))) break;
            end = before;
        }
        out_.resize(end);
    }

    // `closer` is the closer of the enclosing inline item, "" when none.
    void inlines(const std::vector<Inline>& list, std::string_view closer) {
        if (const auto pieces = in_pieces(list)) return items(*pieces, closer);
        items(list, closer);
    }

    void items(const std::vector<Inline>& list, std::string_view closer) {
        After previous;
        std::size_t i = 0;
        while (i < list.size()) {
            if (!std::holds_alternative<Inline::Text>(list[i].node)) {
                write(list[i], closer);
                previous = after(list[i]);
                ++i;
                continue;
            }
            // Consecutive texts read back as one, and an empty one is
            // nothing: write them as one text.
            std::string joined;
            std::string_view text;
            for (; i < list.size(); ++i) {
                const auto* item = std::get_if<Inline::Text>(&list[i].node);
                if (!item) break;
                if (item->text.empty()) continue;
                if (text.empty()) {
                    text = item->text;
                } else {
                    if (joined.empty()) joined = text;
                    joined += item->text;
                    text = joined;
                }
            }
            if (!text.empty()) text_with_backslashes(text, i < list.size() ? &list[i] : nullptr, closer, previous);
        }
        if (closer_joins_suffix(previous, closer)) out_ += '|';
    }

    // An enlexis holding its own closer is written in pieces that do not,
    // split just after the quote. So is one holding a line feed that the
    // text after it cannot follow on a line of its own: in a text of one
    // line, or where the parser would trim the next line's start, end the
    // paragraph there or read a block form; such a line feed is written
    // between the pieces as text. The suffix goes with the last piece.
    std::vector<Inline> enlexis_pieces(const Inline::Enlexis& enlexis) {
        std::vector<Inline> out;
        if (enlexis.text.find("\"@@") == nowhere && enlexis.text.find('\n') == nowhere) return out;
        for (const Inline& piece : literal_inlines(enlexis.text)) {
            const std::string_view text = std::get<Inline::Enlexis>(piece.node).text;
            std::string kept;
            std::size_t start = 0;
            for (std::size_t feed = text.find('\n'); feed != nowhere; feed = text.find('\n', start)) {
                kept.append(text, start, feed - start);
                start = feed + 1;
                if (line_.lines == Lines::Paragraph && continues_paragraph(text.substr(start))) {
                    kept += '\n';
                    continue;
                }
                out.emplace_back(Inline::Enlexis{std::move(kept), {}});
                out.emplace_back(Inline::Text{"\n"});
                kept.clear();
            }
            kept.append(text, start);
            out.emplace_back(Inline::Enlexis{std::move(kept), {}});
        }
        if (out.size() == 1) return {};
        std::get<Inline::Enlexis>(out.back().node).suffix = enlexis.suffix;
        return out;
    }

    // Whether a paragraph line that begins with `rest` (an enlexis's text
    // up to its closer) stays in the paragraph, as the block parser reads
    // it. Unsure cases count as not.
    bool continues_paragraph(std::string_view rest) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        std::string line(rest.substr(0, end));
        if (end == rest.size()) line += "\"@@";  // the piece's closer follows on this line
        if (line.empty() || unicode::is_whitespace(first_char(line))) return false;
        if (!line_.block_closer.empty() && prefix_related(line, line_.block_closer)) return false;
        const std::size_t run = std::min(line.find_first_not_of('@'), line.size());
        const std::string_view after = std::string_view(line).substr(run);
        switch (run) {
            case 0: case 2: return true;
            case 1: return after.starts_with('(') || opens_no_para_simmere(after);
            case 3: return !after.empty() && std::string_view("!\"(+.:=/").find(after.front()) == nowhere;
            case 4: return false;
            default: return true;
        }
    }

    // Whether the sim token at the start of `text` names a sim that is not
    // a para-simmere.
    bool opens_no_para_simmere(std::string_view text) {
        if (!dialektos_) return false;
        const SimDef* sim = nullptr;
        if (text.starts_with('{')) {
            const std::size_t close = text.find('}');
            if (close == nowhere) return false;
            const NameLookup found = named(text.substr(1, close - 1));
            if (found.outcome == NameLookup::Outcome::Found) sim = found.sim;
        } else {
            sim = symbols().longest_match(text);
        }
        return sim && !std::holds_alternative<ParaSimmere>(sim->form);
    }

    // `list` with each enlexis that needs it in pieces; null when none does.
    std::optional<std::vector<Inline>> in_pieces(const std::vector<Inline>& list) {
        std::optional<std::vector<Inline>> out;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const auto* enlexis = std::get_if<Inline::Enlexis>(&list[i].node);
            std::vector<Inline> pieces = enlexis ? enlexis_pieces(*enlexis) : std::vector<Inline>();
            if (pieces.empty()) {
                if (out) out->push_back(list[i]);
                continue;
            }
            if (!out) out.emplace(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(i));
            std::move(pieces.begin(), pieces.end(), std::back_inserter(*out));
        }
        return out;
    }

    // No escape writes a backslash in front of the sigil or "|": the
    // backslashes that end a text in front of markup, or of a closer that
    // begins with "|", are written as an enlexis.
    void text_with_backslashes(std::string_view text, const Inline* next, std::string_view closer, After& previous) {
        const std::size_t kept = text.find_last_not_of('\\') + 1;
        if (kept == text.size() || (!next && !closer.starts_with('|'))) {
            text_item(text, next, closer, previous);
            return;
        }
        const Inline backslashes = Inline::Enlexis{std::string(text.substr(kept)), {}};
        if (kept > 0) text_item(text.substr(0, kept), &backslashes, closer, previous);
        write(backslashes, closer);
        previous = after(backslashes);
    }

    void text_item(std::string_view text, const Inline* next, std::string_view closer, After& previous) {
        if (previous.genoses && continues_genos(first_char(text))) out_ += '|';
        const std::size_t start = write_text(text, previous.reads_suffix, next != nullptr);
        // Only a closer of two characters or more, or a line still shorter
        // than the block's closer, can meet the opener of the markup next.
        if (next && (closer.size() > 1 || line_may_meet_block_closer())) {
            const std::string_view opener = opener_of(*next, opener_buffer_);
            if (closes_early(start, opener, closer) || meets_block_closer(opener)) out_ += '|';
        }
        previous = {};
    }

    // Returns where the text itself begins, after a suffix guard.
    std::size_t write_text(std::string_view text, bool after_markup, bool before_markup) {
        if (after_markup && looks_like_suffix(text)) out_ += '|';
        const std::size_t start = out_.size();
        std::size_t i = 0;
        while (i < text.size()) {
            if (line_.at_line_start) {
                std::size_t next = i;
                if (unicode::is_whitespace(unicode::next_char(text, next))) {
                    // The parser trims it, except at the start of a verse line.
                    if (line_.lines == Lines::Verse) out_.append(text, i, next - i);
                    i = next;
                    continue;
                }
                begin_visible();
            }
            const std::size_t plain_end = written_otherwise.find_in(text, i);
            out_.append(text, i, plain_end - i);
            i = plain_end;
            if (i == text.size()) break;
            const char c = text[i];
            if (c == '\n' && line_.lines != Lines::Paragraph) {
                out_ += ' ';  // a line feed cannot stand in a text of one line
                ++i;
                continue;
            }
            if (c == '\r') {
                out_ += c;
                ++i;
                // A document line loses the carriage returns at its end; an
                // empty comment after them keeps them inside the line.
                const bool line_ends = i == text.size() ? !before_markup : text[i] == '\n';
                if (line_.lines == Lines::Paragraph && line_ends) out_ += empty_comment;
                continue;
            }
            const bool escape = c == '@' || (c == '|' && ((i == 0 && after_markup) ||
                                                          (i + 1 == text.size() && before_markup) ||
                                                          (i > 0 && text[i - 1] == '\\')));
            if (escape) {
                out_ += '\\';
                escaped_at_ = out_.size();
            }
            out_ += c;
            if (c == '\n' && line_.lines == Lines::Paragraph) {
                line_.at_line_start = true;
                line_.first_line = false;
            }
            ++i;
        }
        return start;
    }

    // Whether the enclosing closer would be read at a scanning position of
    // the text written from `start`, with `next` after it.
    bool closes_early(std::size_t start, std::string_view next, std::string_view closer) const {
        const std::string_view written = std::string_view(out_).substr(start);
        // `next` begins with the sigil, so only a split in front of one of the
        // closer's sigils is tried in full: the work stays within the text.
        for (std::size_t n = 1; n < closer.size() && n <= written.size(); ++n) {
            if (out_.size() - n == escaped_at_) continue;  // the second character of an escape
            if (prefix_related(closer.substr(n), next) && written.ends_with(closer.substr(0, n))) return true;
        }
        return false;
    }

    // Whether what follows the current line so far could still make it
    // begin with the closer of the enclosing block: a line already as long
    // as the closer cannot.
    bool line_may_meet_block_closer() const {
        if (line_.lines == Lines::Single || line_.at_line_start || line_.block_closer.empty()) return false;
        return out_.size() - line_.line_start < line_.block_closer.size();
    }

    // Whether the current line, text so far and then `next`, would begin
    // with the closer of the enclosing block.
    bool meets_block_closer(std::string_view next) const {
        if (!line_may_meet_block_closer()) return false;
        const std::string_view line = std::string_view(out_).substr(line_.line_start);
        return prefix_related(std::string(line) + std::string(next), line_.block_closer);
    }

    void begin_visible() {
        if (!line_.at_line_start) return;
        line_.at_line_start = false;
        line_.line_start = out_.size();
    }

    // A deixis that opens a paragraph line is a para-simmere token to the
    // block parser: on a later line it would end the paragraph, and on the
    // first line a target of digits would read as a taxis.
    void before_deixis(std::string_view target, std::string_view closer) {
        if (line_.lines != Lines::Paragraph || !line_.at_line_start) return;
        if (line_.first_line && !is_ascii_digits(target)) return;
        begin_visible();
        // "|" before the sigil reads as nothing, unless a closer begins with it.
        const bool bar_closes = closer.starts_with('|') || line_.block_closer.starts_with('|');
        out_ += bar_closes ? empty_comment : std::string_view("|");
    }

    // The closer of an inline item, written where a paragraph line begins,
    // could be read as (the start of) the closer of the enclosing block.
    void write_closer(std::string_view closer) {
        if (line_.lines == Lines::Paragraph && line_.at_line_start && !line_.block_closer.empty() &&
            prefix_related(closer, line_.block_closer)) {
            begin_visible();
            out_ += empty_comment;
        }
        begin_visible();
        out_ += closer;
    }

    void write(const Inline& item, std::string_view closer) {
        if (const auto* deixis = std::get_if<Inline::Deixis>(&item.node)) before_deixis(deixis->target, closer);
        begin_visible();
        std::visit(overloaded{
                       [](const Inline::Text&) {},  // texts are written by `inlines`
                       [&](const Inline::EndoSimmere& x) {
                           EndoSpelling uncommon;
                           const EndoSpelling& spelling = endo_spelling(x, uncommon);
                           out_ += '@';
                           out_ += spelling.token.text;
                           if (spelling.token.comment_after) out_ += empty_comment;
                           inlines(x.children, spelling.closer);
                           write_closer(spelling.closer);
                           write_suffix(x.suffix, out_);
                       },
                       [&](const Inline::Enlexis& x) {
                           out_ += "@@\"";
                           out_ += x.text;
                           out_ += "\"@@";
                           write_suffix(x.suffix, out_);
                       },
                       [&](const Inline::Diaphane& x) {
                           out_ += "@@.";
                           inlines(x.children, ".@@");
                           write_closer(".@@");
                           write_suffix(x.suffix, out_);
                       },
                       [&](const Inline::Monosim& x) {
                           const std::string param = writable_inline_parameter(x.param);
                           call('@' + sim_token(x.symbol, call_run(x.symbol, param, x.suffix), false).text, param);
                           write_suffix(x.suffix, out_);
                       },
                       [&](const Inline::OnymAnchor& x) { call("@", x.onym); },
                       [&](const Inline::Milestone& x) {
                           out_ += "@(\"";
                           out_ += x.scheme;
                           out_ += ':';
                           out_ += x.value;
                           out_ += "\")";
                           write_suffix(x.suffix, out_);
                       },
                       [&](const Inline::Deixis& x) {
                           call('@' + sim_token(x.symbol, call_run(x.symbol, x.target, x.suffix), false).text,
                                x.target);
                           write_suffix(x.suffix, out_);
                       },
                       [&](const Inline::EndoAxioma& x) {
                           out_ += "@@:";
                           inlines(x.children, ":@@");
                           write_closer(":@@");
                           call("", x.onym);
                       },
                       [&](const Inline::AxiomaReference& x) {
                           out_ += x.enlexis ? "@@+(:" : "@@(:";
                           out_ += x.onym;
                           out_ += ":)";
                       },
                   },
                   item.node);
    }

    void call(std::string_view head, std::string_view param) {
        out_ += head;
        out_ += '(';
        out_ += param;
        out_ += ')';
    }

    // How an endo-simmere is written: its token and its closer.
    struct EndoSpelling {
        Token token;
        std::string closer;
    };

    EndoSpelling spell_endo(std::string_view symbol, std::string_view run, bool mirrored) {
        Token token = sim_token(symbol, run, true);
        std::string closer = episim_symbol(token.text, mirrored) + '@';
        return {std::move(token), std::move(closer)};
    }

    // Content that adds no symbol character after the token leaves the
    // spelling the same for every item of a sim, so it is worked out once;
    // any other content is spelled into `uncommon`.
    const EndoSpelling& endo_spelling(const Inline::EndoSimmere& x, EndoSpelling& uncommon) {
        const std::string lead = lead_after_opener(x);
        if (!lead.empty()) return uncommon = spell_endo(x.symbol, x.symbol + lead, x.mirrored);
        EndoSpellings& spellings = plain_endo_spellings_[{dialektos_, x.mirrored}];
        const bool one_byte = x.symbol.size() == 1 && static_cast<unsigned char>(x.symbol[0]) < 0x80;
        if (one_byte) {
            if (const EndoSpelling* known = spellings.one_byte[static_cast<unsigned char>(x.symbol[0])]) return *known;
        }
        auto found = spellings.by_symbol.find(x.symbol);
        if (found == spellings.by_symbol.end()) {
            found = spellings.by_symbol.emplace(x.symbol, spell_endo(x.symbol, x.symbol, x.mirrored)).first;
        }
        if (one_byte) spellings.one_byte[static_cast<unsigned char>(x.symbol[0])] = &found->second;
        return found->second;
    }

    // The spelling of a sim whose symbol the parser would read from `run`
    // (the symbol and what is written after it). A symbol that would run on
    // into a longer one, or that begins with "(" (which opens an onym anchor
    // after the sigil), is spelled so that the parser finds this sim again:
    // an endo-simmere keeps its symbol and gets an empty comment after it,
    // any other sim is named.
    Token sim_token(std::string_view symbol, std::string_view run, bool endo) {
        Token as_is{std::string(symbol), false};
        if (!dialektos_ || symbol.empty() || symbol.front() == '{') return as_is;
        const SimDef* found = symbols().find(symbol);
        if (found == nullptr) return as_is;
        const SimDef& sim = *found;
        if (symbol.front() != '(') {
            if (symbols().longest_match(run) == &sim) return as_is;
            if (endo) return {std::string(symbol), true};
        }
        const NameLookup by_name = named(sim.name);
        if (by_name.outcome == NameLookup::Outcome::Found && by_name.sim == &sim) return {name_reference(sim.name), false};
        return as_is;
    }

    struct LineState {
        Lines lines = Lines::Single;
        std::string_view block_closer;
        bool first_line = true;     // a paragraph still on its first line
        bool at_line_start = true;  // nothing but white space on the current line yet
        std::size_t line_start = 0; // where the current line's first visible character is
    };

    std::string& out_;
    const Dialektos* dialektos_;
    const ResolveDialektos& resolve_;
    LineState line_;
    std::size_t escaped_at_ = nowhere;  // the character after the latest escaping backslash
    std::string opener_buffer_;         // reused by every text followed by markup
    std::map<std::string, std::optional<Dialektos>, std::less<>> embedded_;
    std::map<const Dialektos*, std::map<std::string, NameLookup, std::less<>>> names_;
    std::map<const Dialektos*, SymbolIndex> indexes_;
    // The spellings worked out for one dialektos and mirroring, by symbol;
    // the elements stay in place while more are added, so a spelling in use
    // is never moved. Symbols of one ASCII character are also found by it.
    struct EndoSpellings {
        std::unordered_map<std::string, EndoSpelling, SymbolHash, std::equal_to<>> by_symbol;
        std::array<const EndoSpelling*, 128> one_byte{};
    };
    std::map<std::pair<const Dialektos*, bool>, EndoSpellings> plain_endo_spellings_;
};

}  // namespace

std::string name_reference(std::string_view name) {
    std::string reference;
    reference.reserve(name.size() + 2);
    reference += '{';
    reference += name;
    reference += '}';
    return reference;
}

void write_suffix(const Suffix& suffix, std::string& out) {
    if (suffix.onym) {
        out += '(';
        out += *suffix.onym;
        out += ')';
    }
    for (const auto& genos : suffix.genoses) {
        out += '.';
        out += genos;
    }
}

std::string write_document(const Document& document, const Dialektos* dialektos, const ResolveDialektos& resolve) {
    std::string out;
    out.reserve(estimated_text_size(document));
    Writer writer(out, dialektos, resolve);
    writer.declaration(document.dialektos, document.version);
    for (const Block& block : document.blocks) writer.next(block);
    return out;
}

// How much written text a writer with a sink gathers before handing it on.
constexpr std::size_t piece_size = 64 * 1024;

struct DocumentWriter::State {
    State(const Dialektos* dialektos, ResolveDialektos resolve_embedded, TextSink text_sink)
        : resolve(std::move(resolve_embedded)), sink(std::move(text_sink)), writer(out, dialektos, resolve) {}

    // Between blocks nothing refers back to the text written, which can
    // then go to the sink.
    void hand_over(std::size_t at_least) {
        if (!sink || out.size() < at_least || out.empty()) return;
        sink(out);
        out.clear();
        writer.forget_written();
    }

    std::string out;
    ResolveDialektos resolve;
    TextSink sink;
    Writer writer;
};

DocumentWriter::DocumentWriter(std::string_view dialektos_id, const std::optional<std::string>& version,
                               const Dialektos* dialektos, ResolveDialektos resolve, std::size_t expected_size,
                               TextSink sink)
    : state_(std::make_unique<State>(dialektos, std::move(resolve), std::move(sink))) {
    state_->out.reserve(state_->sink ? 2 * piece_size : expected_size);
    state_->writer.declaration(dialektos_id, version);
}

DocumentWriter::~DocumentWriter() = default;

void DocumentWriter::block(const Block& block) {
    state_->writer.next(block);
    state_->hand_over(piece_size);
}

void DocumentWriter::open(const Block& block) {
    state_->writer.open(block);
    state_->hand_over(piece_size);
}

void DocumentWriter::close(const Block& block) {
    state_->writer.close(block);
    state_->hand_over(piece_size);
}

std::string DocumentWriter::finish() && {
    state_->hand_over(0);
    return std::move(state_->out);
}

}  // namespace ilvex
