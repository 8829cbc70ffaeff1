#include "endo/paragraph_line.hpp"

#include <variant>

#include "dendron/writer.hpp"
#include "dialektos/lexical.hpp"
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

// How the item `next`, not a text, begins: its sigils and what follows them
// (see writing::opener_of).
std::string_view opener_of(const FlatInline& next, std::string& buffer) {
    if (next.kind == Kind::Enlexis) return "@@\"";
    buffer.assign(1, '@');
    buffer += next.text;
    return buffer;
}

}  // namespace

bool ParagraphLineWriter::write(const FlatInlines& inlines, std::string_view block_closer, std::string& line) {
    line.clear();
    list_ = inlines.items.data();
    size_ = inlines.items.size();
    texts_as_they_stand_ = inlines.texts_as_they_stand;
    out_ = &line;
    block_closer_ = block_closer;
    at_line_start_ = true;
    std::size_t i = 0;
    // A paragraph that writes nothing visible is written with a comment.
    return items(i, {}) && !at_line_start_;
}

bool ParagraphLineWriter::write(const std::vector<Inline>& inlines, std::string_view block_closer,
                                std::string& line) {
    flattened_.clear();
    return flatten(inlines, flattened_) && write(flattened_, block_closer, line);
}

bool ParagraphLineWriter::items(std::size_t& i, std::string_view closer) {
    const FlatInline* list = list_;
    const std::size_t size = size_;
    After previous;
    while (i < size && list[i].kind != Kind::Close) {
        if (list[i].kind != Kind::Text) {
            const Suffix* suffix = nullptr;
            if (!item(i, suffix)) return false;
            previous = after_suffix(suffix);
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
    if (!texts_as_they_stand_ && writing::written_otherwise.find_in(text) != text.size()) return false;
    std::string& out = *out_;
    if (previous.genoses && writing::continues_genos(writing::first_char(text))) out += '|';
    if (previous.reads_suffix && writing::looks_like_suffix(text)) out += '|';
    const std::size_t start = out.size();
    std::size_t i = 0;
    // The parser trims white space at the start of the line.
    while (at_line_start_ && i < text.size()) {
        std::size_t after = i;
        if (!unicode::is_whitespace(unicode::next_char(text, after))) {
            at_line_start_ = false;
            break;
        }
        i = after;
    }
    out.append(text, i);
    if (next == nullptr) return true;
    // A line still shorter than the body's closer might begin with it once
    // the markup follows: the writer's case.
    if (!at_line_start_ && out.size() < block_closer_.size()) return false;
    if (closer.size() < 2) return true;
    // A text that ends with the start of the closer, in front of markup,
    // would close the span early: a bar keeps them apart.
    const std::string_view opener = opener_of(*next, opener_);
    const std::string_view written = std::string_view(out).substr(start);
    for (std::size_t n = 1; n < closer.size() && n <= written.size(); ++n) {
        if (writing::prefix_related(closer.substr(n), opener) && written.ends_with(closer.substr(0, n))) {
            out += '|';
            break;
        }
    }
    return true;
}

bool ParagraphLineWriter::item(std::size_t& i, const Suffix*& suffix) {
    const FlatInline* list = list_;
    const std::size_t size = size_;
    const FlatInline& at = list[i];
    std::string& out = *out_;
    suffix = at.suffix;
    switch (at.kind) {
        case Kind::Open: {
            at_line_start_ = false;
            // Symbol characters after the symbol are written apart from it.
            const bool text_first = i + 1 < size && list[i + 1].kind == Kind::Text;
            if (!text_first || list[i + 1].text.empty() || symbol_run_length(list[i + 1].text) != 0) return false;
            const EndoSpelling& spelling = endo_spelling(at.text, at.mirrored);
            if (!spelling.as_is) return false;
            out += '@';
            out += at.text;
            if (!items(++i, spelling.closer) || i == size) return false;
            out += spelling.closer;
            suffix = list[i].suffix;
            if (suffix) write_suffix(*suffix, out);
            ++i;
            return true;
        }
        case Kind::Enlexis:
            // One holding its closer or a line feed is written in pieces.
            if (at.text.find("\"@@") != std::string_view::npos || at.text.find('\n') != std::string_view::npos) {
                return false;
            }
            at_line_start_ = false;
            out += "@@\"";
            out += at.text;
            out += "\"@@";
            break;
        case Kind::Deixis:
            // At the start of the line it would read as a block's token.
            if (at_line_start_) return false;
            if (!spelled_as_is(at.text, writing::call_run(at.text, at.target, suffix ? *suffix : Suffix{}))) {
                return false;
            }
            out += '@';
            out += at.text;
            out += '(';
            out += at.target;
            out += ')';
            break;
        case Kind::Text:
        case Kind::Close:
            return false;
    }
    if (suffix) write_suffix(*suffix, out);
    ++i;
    return true;
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

const ParagraphLineWriter::EndoSpelling& ParagraphLineWriter::endo_spelling(std::string_view symbol,
                                                                             bool mirrored) {
    for (const EndoSpelling& known : endo_spellings_) {
        if (same_symbol(known.symbol, symbol) && known.mirrored == mirrored) return known;
    }
    return endo_spellings_.emplace_back(EndoSpelling{std::string(symbol), mirrored, spelled_as_is(symbol, symbol),
                                                     episim_symbol(symbol, mirrored) + '@'});
}

}  // namespace ilvex
