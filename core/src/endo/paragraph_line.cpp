#include "endo/paragraph_line.hpp"

#include <variant>

#include "dendron/writer.hpp"
#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"

namespace ilvex {

using writing::After;

bool ParagraphLineWriter::write(const std::vector<Inline>& inlines, std::string_view block_closer,
                                std::string& line) {
    line.clear();
    out_ = &line;
    block_closer_ = block_closer;
    at_line_start_ = true;
    // A paragraph that writes nothing visible is written with a comment.
    return items(inlines, {}) && !at_line_start_;
}

bool ParagraphLineWriter::items(const std::vector<Inline>& list, std::string_view closer) {
    After previous;
    std::size_t i = 0;
    while (i < list.size()) {
        if (!std::holds_alternative<Inline::Text>(list[i].node)) {
            if (!item(list[i])) return false;
            previous = writing::after(list[i]);
            ++i;
            continue;
        }
        std::string_view run;
        for (; i < list.size(); ++i) {
            const auto* piece = std::get_if<Inline::Text>(&list[i].node);
            if (piece == nullptr) break;
            if (piece->text.empty()) continue;
            if (run.empty()) {
                run = piece->text;
            } else {
                if (run.data() != joined_.data()) joined_.assign(run);
                joined_ += piece->text;
                run = joined_;
            }
        }
        if (run.empty()) continue;
        if (!text(run, i < list.size() ? &list[i] : nullptr, closer, previous)) return false;
        previous = {};
    }
    if (writing::closer_joins_suffix(previous, closer)) *out_ += '|';
    return true;
}

bool ParagraphLineWriter::text(std::string_view text, const Inline* next, std::string_view closer,
                               const After& previous) {
    if (writing::written_otherwise.find_in(text) != text.size()) return false;
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
    const std::string_view opener = writing::opener_of(*next, opener_);
    const std::string_view written = std::string_view(out).substr(start);
    for (std::size_t n = 1; n < closer.size() && n <= written.size(); ++n) {
        if (writing::prefix_related(closer.substr(n), opener) && written.ends_with(closer.substr(0, n))) {
            out += '|';
            break;
        }
    }
    return true;
}

bool ParagraphLineWriter::item(const Inline& item) {
    std::string& out = *out_;
    if (const auto* sim = std::get_if<Inline::EndoSimmere>(&item.node)) {
        at_line_start_ = false;
        // Symbol characters after the symbol are written apart from it.
        const auto* first = sim->children.empty() ? nullptr : std::get_if<Inline::Text>(&sim->children.front().node);
        if (first == nullptr || first->text.empty() || symbol_run_length(first->text) != 0) return false;
        const EndoSpelling& spelling = endo_spelling(*sim);
        if (!spelling.as_is) return false;
        out += '@';
        out += sim->symbol;
        if (!items(sim->children, spelling.closer)) return false;
        out += spelling.closer;
        write_suffix(sim->suffix, out);
        return true;
    }
    if (const auto* enlexis = std::get_if<Inline::Enlexis>(&item.node)) {
        // One holding its closer or a line feed is written in pieces.
        if (enlexis->text.find("\"@@") != std::string::npos || enlexis->text.find('\n') != std::string::npos) {
            return false;
        }
        at_line_start_ = false;
        out += "@@\"";
        out += enlexis->text;
        out += "\"@@";
        write_suffix(enlexis->suffix, out);
        return true;
    }
    if (const auto* deixis = std::get_if<Inline::Deixis>(&item.node)) {
        // At the start of the line it would read as a block's token.
        if (at_line_start_) return false;
        if (!spelled_as_is(deixis->symbol, writing::call_run(deixis->symbol, deixis->target, deixis->suffix))) {
            return false;
        }
        out += '@';
        out += deixis->symbol;
        out += '(';
        out += deixis->target;
        out += ')';
        write_suffix(deixis->suffix, out);
        return true;
    }
    return false;
}

bool ParagraphLineWriter::para_opener(const Block::Para& para, std::string& opener, std::string& closer) {
    if (!para.lemma.empty() || !para.hypograph.empty()) return false;
    const ParaSpelling& spelling = para_spelling(para);
    if (!spelling.as_is) return false;
    opener.assign(1, '@');
    opener += para.symbol;
    writing::write_taxis(para.taxis, opener);
    // A required lemma left empty is written as a comment.
    if (spelling.lemma_required) {
        opener += ' ';
        opener += writing::line_comment;
    }
    opener += '\n';
    closer = spelling.closer;
    return true;
}

void ParagraphLineWriter::para_closing(const Block::Para& para, std::string_view closer, std::string& line) {
    line.assign(closer);
    write_suffix(para.suffix, line);
    if (para_spelling(para).hypograph_required) {
        line += ' ';
        line += writing::line_comment;
    }
    line += '\n';
}

// A symbol written "{name}" is looked up by its name: left to the writer.
const ParagraphLineWriter::ParaSpelling& ParagraphLineWriter::para_spelling(const Block::Para& para) {
    const bool taxis = para.taxis.state != Taxis::State::Absent;
    for (const ParaSpelling& known : para_spellings_) {
        if (known.symbol == para.symbol && known.mirrored == para.mirrored && known.taxis == taxis) return known;
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

const ParagraphLineWriter::EndoSpelling& ParagraphLineWriter::endo_spelling(const Inline::EndoSimmere& sim) {
    for (const EndoSpelling& known : endo_spellings_) {
        if (known.symbol == sim.symbol && known.mirrored == sim.mirrored) return known;
    }
    return endo_spellings_.emplace_back(EndoSpelling{sim.symbol, sim.mirrored, spelled_as_is(sim.symbol, sim.symbol),
                                                     episim_symbol(sim.symbol, sim.mirrored) + '@'});
}

}  // namespace ilvex
