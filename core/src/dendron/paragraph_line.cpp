#include "dendron/paragraph_line.hpp"

#include <variant>

#include "dendron/writable_values.hpp"
#include "dendron/writer.hpp"
#include "dialektos/lexical.hpp"
#include "dialektos/std_parse_cache.hpp"
#include "dialektos/unicode.hpp"

namespace ilvex {

using writing::After;

namespace {

using Kind = FlatInline::Kind;

// Symbols are a few bytes, compared in place: a lookup runs for every sim
// and Para written, and a call to compare them would cost more.
bool same_symbol(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k] != b[k]) return false;
    }
    return true;
}

// What the parser leaves for the text after an item that ends with `suffix`.
After after_suffix(const Suffix* suffix) {
    return {true, suffix != nullptr && !suffix->genoses.empty(), suffix == nullptr || suffix->empty()};
}

// Texts are short: a block scan finds a line feed in one faster than a call
// to memchr would.
constexpr ByteSet line_feed("\n");

}  // namespace

ParagraphLineWriter::ParagraphLineWriter(const Dialektos& dialektos)
    : symbols_(std_symbol_index(dialektos) != nullptr ? *std_symbol_index(dialektos) : own_symbols_.emplace(dialektos)) {}

bool ParagraphLineWriter::write(const FlatInlines& inlines, std::string_view block_closer, std::string& text,
                                SimNames* names) {
    list_ = inlines.items.data();
    size_ = inlines.items.size();
    texts_as_they_stand_ = inlines.texts_as_they_stand;
    names_ = names;
    out_ = &text;
    block_closer_ = block_closer;
    at_line_start_ = true;
    line_start_ = text.size();
    escaped_at_ = std::string::npos;
    std::size_t i = 0;
    // A paragraph whose text ends on a line of white space (or writes
    // nothing visible at all) is written with a comment.
    return items(i, {}) && !at_line_start_;
}

bool ParagraphLineWriter::write(const std::vector<Inline>& inlines, std::string_view block_closer,
                                std::string& text, SimNames* names) {
    flattened_.clear();
    return flatten(inlines, flattened_) && write(flattened_, block_closer, text, names);
}

std::string_view ParagraphLineWriter::token_of(std::string_view symbol) const {
    if (names_ == nullptr) return symbol;
    const std::string* name = names_->name_of(symbol);
    return name != nullptr ? std::string_view(*name) : std::string_view();
}

bool ParagraphLineWriter::items(std::size_t& i, std::string_view closer) {
    const FlatInline* list = list_;
    const std::size_t size = size_;
    After previous;
    while (i < size && list[i].kind != Kind::Close) {
        if (list[i].kind != Kind::Text) {
            if (!item(i, previous)) return false;
            continue;
        }
        std::string_view run;
        for (; i < size && list[i].kind == Kind::Text; ++i) {
            const std::string_view piece = list[i].text;
            if (piece.empty()) continue;
            if (run.empty()) {
                run = piece;
            } else {
                if (run.data() != joined_.data()) joined_.assign(run);
                joined_ += piece;
                run = joined_;
            }
        }
        if (run.empty()) continue;
        const bool more = i < size && list[i].kind != Kind::Close;
        if (!text(run, more ? &list[i] : nullptr, closer, previous)) return false;
        previous = {};
    }
    if (writing::closer_joins_suffix(previous, closer)) *out_ += '|';
    return true;
}

bool ParagraphLineWriter::text(std::string_view text, const FlatInline* next, std::string_view closer,
                               const After& previous) {
    std::string& out = *out_;
    if (previous.genoses && writing::continues_genos(writing::first_char(text))) out += '|';
    // Only "(" or "." can begin what reads as a suffix.
    const bool may_read_as_suffix = text.front() == '(' || text.front() == '.';
    if (previous.reads_suffix && may_read_as_suffix && writing::looks_like_suffix(text)) out += '|';
    const std::size_t start = out.size();
    std::size_t i = 0;
    while (i < text.size()) {
        // The parser trims white space at the start of a line.
        if (at_line_start_) {
            std::size_t after = i;
            if (unicode::is_whitespace(unicode::next_char(text, after))) {
                i = after;
                continue;
            }
            begin_visible();
        }
        const std::size_t stop = texts_as_they_stand_ ? line_feed.find_in(text, i)
                                                      : writing::written_otherwise.find_in(text, i);
        out.append(text, i, stop - i);
        i = stop;
        if (i == text.size()) break;
        switch (text[i]) {
            case '\n':
                // Each line feed of running text begins a line of its own.
                out += '\n';
                at_line_start_ = true;
                break;
            case '@':
                out += '\\';
                escaped_at_ = out.size();
                out += '@';
                break;
            default:
                return false;  // a bar, a backslash or a carriage return: the writer's cases
        }
        ++i;
    }
    if (next == nullptr) return true;
    // Only a closer of two characters or more, or a line still shorter than
    // the body's closer, can meet the opener of the markup next: a bar then
    // keeps them apart.
    const bool may_meet_block_closer = !at_line_start_ && out.size() - line_start_ < block_closer_.size();
    if (closer.size() < 2 && !may_meet_block_closer) return true;
    const std::string_view opener = opener_of(*next);
    if (opener.empty()) return false;
    if (closes_early(start, opener, closer) || (may_meet_block_closer && meets_block_closer(opener))) out += '|';
    return true;
}

std::string_view ParagraphLineWriter::opener_of(const FlatInline& next) {
    switch (next.kind) {
        case Kind::Enlexis: return "@@\"";
        case Kind::Milestone: return "@(\"";
        case Kind::OnymAnchor: return "@(";
        default: break;
    }
    const std::string_view token = token_of(next.text);
    if (token.empty()) return {};
    opener_.assign(1, '@');
    opener_ += token;
    return opener_;
}

bool ParagraphLineWriter::closes_early(std::size_t start, std::string_view opener, std::string_view closer) const {
    const std::string_view written = std::string_view(*out_).substr(start);
    for (std::size_t n = 1; n < closer.size() && n <= written.size(); ++n) {
        if (out_->size() - n == escaped_at_) continue;  // the second character of an escape
        if (writing::prefix_related(closer.substr(n), opener) && written.ends_with(closer.substr(0, n))) return true;
    }
    return false;
}

bool ParagraphLineWriter::meets_block_closer(std::string_view opener) {
    line_.assign(*out_, line_start_);
    line_ += opener;
    return writing::prefix_related(line_, block_closer_);
}

void ParagraphLineWriter::begin_visible() {
    if (!at_line_start_) return;
    at_line_start_ = false;
    line_start_ = out_->size();
}

bool ParagraphLineWriter::item(std::size_t& i, After& previous) {
    const FlatInline& at = list_[i];
    std::string& out = *out_;
    const Suffix* suffix = at.suffix;
    switch (at.kind) {
        case Kind::Open: {
            const FlatInline* close = nullptr;
            if (!endo_simmere(i, close)) return false;
            suffix = close->suffix;
            break;
        }
        case Kind::Enlexis:
            // One holding its closer or a line feed is written in pieces.
            if (at.text.find("\"@@") != std::string_view::npos || at.text.find('\n') != std::string_view::npos) {
                return false;
            }
            begin_visible();
            out += "@@\"";
            out += at.text;
            out += "\"@@";
            break;
        case Kind::Deixis:
            // At the start of a line it would read as a block's token.
            if (at_line_start_ || !call(at.text, at.target, suffix)) return false;
            break;
        case Kind::Monosim:
            begin_visible();
            if (!call(at.text, writable_inline_parameter(at.target), suffix)) return false;
            break;
        case Kind::Milestone:
            begin_visible();
            out += "@(\"";
            out += at.text;
            out += ':';
            out += at.target;
            out += "\")";
            break;
        case Kind::OnymAnchor:
            begin_visible();
            out += "@(";
            out += at.text;
            out += ')';
            ++i;
            // Nothing after an anchor is read as its suffix.
            previous = {};
            return true;
        case Kind::Text:
        case Kind::Close:
            return false;
    }
    if (suffix) write_suffix(*suffix, out);
    previous = after_suffix(suffix);
    ++i;
    return true;
}

bool ParagraphLineWriter::call(std::string_view symbol, std::string_view param, const Suffix* suffix) {
    const std::string_view token = token_of(symbol);
    if (token.empty()) return false;
    if (names_ == nullptr && !spelled_as_is(symbol, writing::call_run(symbol, param, suffix ? *suffix : Suffix{}))) {
        return false;
    }
    std::string& out = *out_;
    out += '@';
    out += token;
    out += '(';
    out += param;
    out += ')';
    return true;
}

// Inlined into endo_simmere: most sims are found at once.
[[gnu::always_inline]] inline const ParagraphLineWriter::EndoSpelling* ParagraphLineWriter::endo_spelling(
    std::string_view symbol, bool mirrored) {
    // The one met last with the same first byte is most often the one.
    const std::size_t slot = (static_cast<unsigned char>(symbol.front()) & 0x7F) + (mirrored ? 0x80 : 0) +
                             (names_ != nullptr ? 0x100 : 0);
    const EndoSpelling* last = last_spellings_[slot];
    if (last != nullptr && same_symbol(last->symbol, symbol) && last->mirrored == mirrored && last->names == names_) {
        return last;
    }
    return find_endo_spelling(slot, symbol, mirrored);
}

// Leaves `i` on the endo-simmere's Close, and `close` pointing at it.
bool ParagraphLineWriter::endo_simmere(std::size_t& i, const FlatInline*& close) {
    const FlatInline& at = list_[i];
    std::string& out = *out_;
    begin_visible();
    const EndoSpelling* found = endo_spelling(at.text, at.mirrored);
    if (found == nullptr) return false;
    const EndoSpelling& spelling = *found;
    // Symbol characters after the symbol could make the parser read
    // another sim: the writer's spelling then depends on them (not that of
    // a name, which its brace ends).
    const bool as_is = begins_plain(i) || names_ != nullptr
                           ? spelling.as_is
                           : spelled_as_is(at.text, std::string(at.text) + lead_after(i));
    if (!as_is) return false;
    out += spelling.opener;
    if (!items(++i, spelling.closer) || i == size_) return false;
    // A closer that opens a line could be read as the block's closer.
    if (at_line_start_) {
        if (!block_closer_.empty() && writing::prefix_related(spelling.closer, block_closer_)) return false;
        begin_visible();
    }
    out += spelling.closer;
    close = &list_[i];
    return true;
}

bool ParagraphLineWriter::begins_plain(std::size_t open) const {
    if (open + 1 >= size_ || list_[open + 1].kind != Kind::Text || list_[open + 1].text.empty()) return false;
    const auto first = static_cast<unsigned char>(list_[open + 1].text.front());
    return first < 0x80 && !ascii_symbol_chars.contains(static_cast<char>(first));
}

std::string ParagraphLineWriter::lead_after(std::size_t open) const {
    std::string lead;
    for (std::size_t k = open + 1; k < size_ && list_[k].kind != Kind::Close; ++k) {
        if (list_[k].kind != Kind::Text) return lead + '|';
        const std::string_view text = list_[k].text;
        const std::size_t run = symbol_run_length(text);
        lead.append(text, 0, run);
        if (run < text.size()) return lead;
    }
    return lead.append(episim_symbol(list_[open].text, list_[open].mirrored));
}

bool ParagraphLineWriter::para_lines(const Block::Para& para, std::string& opener, std::string& closer,
                                     std::string& closing) {
    if (!para.lemma.empty() || !para.hypograph.empty()) return false;
    const ParaSpelling& spelling = para_spelling(para);
    if (!spelling.as_is) return false;
    opener.assign(1, '@');
    opener += para.symbol;
    writing::write_taxis(para.taxis, opener);
    // A required lemma or hypograph left empty is written as a comment.
    if (spelling.lemma_required) {
        opener += ' ';
        opener += writing::line_comment;
    }
    opener += '\n';
    closer = spelling.closer;
    closing.assign(closer);
    write_suffix(para.suffix, closing);
    if (spelling.hypograph_required) {
        closing += ' ';
        closing += writing::line_comment;
    }
    closing += '\n';
    return true;
}

// A symbol written "{name}" is looked up by its name: left to the writer.
const ParagraphLineWriter::ParaSpelling& ParagraphLineWriter::para_spelling(const Block::Para& para) {
    const bool taxis = para.taxis.state != Taxis::State::Absent;
    for (const ParaSpelling& known : para_spellings_) {
        if (same_symbol(known.symbol, para.symbol) && known.mirrored == para.mirrored && known.taxis == taxis) {
            return known;
        }
    }
    const std::string& symbol = para.symbol;
    const SimDef* sim = symbol.empty() ? nullptr : symbols_.find(symbol);
    const auto* form = sim ? std::get_if<ParaSimmere>(&sim->form) : nullptr;
    const bool as_is = !symbol.empty() && symbol.front() != '{' &&
                       spelled_as_is(symbol, writing::opener_run(symbol, para.taxis));
    return para_spellings_.emplace_back(ParaSpelling{symbol, para.mirrored, taxis, as_is,
                                                     form && form->lemma == Occurrence::Required,
                                                     form && form->hypograph == Occurrence::Required,
                                                     episim_symbol(symbol, para.mirrored) + '@'});
}

// As the writer decides: a symbol it does not find, or whose sim is the
// one the parser finds at the run, is written as it is.
bool ParagraphLineWriter::spelled_as_is(std::string_view symbol, std::string_view run) const {
    if (symbol.empty() || symbol.front() == '{') return true;
    const SimDef* sim = symbols_.find(symbol);
    if (sim == nullptr) return true;
    return symbol.front() != '(' && symbols_.longest_match(run) == sim;
}

const ParagraphLineWriter::EndoSpelling* ParagraphLineWriter::find_endo_spelling(std::size_t slot,
                                                                                  std::string_view symbol,
                                                                                  bool mirrored) {
    const EndoSpelling* found = nullptr;
    for (const EndoSpelling& known : endo_spellings_) {
        if (same_symbol(known.symbol, symbol) && known.mirrored == mirrored && known.names == names_) {
            found = &known;
            break;
        }
    }
    if (found == nullptr) {
        const std::string_view token = token_of(symbol);
        if (token.empty()) return nullptr;
        // A name is written as it is whatever follows it.
        const bool as_is = names_ != nullptr || spelled_as_is(symbol, symbol);
        found = &endo_spellings_.emplace_back(EndoSpelling{std::string(symbol), mirrored, names_, as_is,
                                                           '@' + std::string(token),
                                                           episim_symbol(token, mirrored) + '@'});
    }
    last_spellings_[slot] = found;
    return found;
}

}  // namespace ilvex
