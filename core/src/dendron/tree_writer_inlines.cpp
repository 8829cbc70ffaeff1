#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <variant>

#include "dendron/overloaded.hpp"
#include "dendron/tree_writer.hpp"
#include "dendron/writable_values.hpp"
#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"

namespace ilvex::writing {

void TreeWriter::text_lines(const std::vector<Inline>& list, Lines lines, std::string_view block_closer) {
    begin_text_lines(lines, block_closer);
    const std::size_t start = out_.size();
    inlines(list, {});
    if (lines == Lines::Paragraph) return end_paragraph();
    trim_end(start);
    if (lines == Lines::Verse && out_.size() == start) out_ += line_comment;
}

void TreeWriter::begin_text_lines(Lines lines, std::string_view block_closer) {
    line_ = LineState{lines, block_closer, true, true, out_.size()};
}

void TreeWriter::end_paragraph() {
    // A paragraph whose text ends in a line break would end in a blank
    // line, which the parser does not take into the paragraph.
    if (line_.at_line_start) out_ += line_comment;
    out_ += '\n';
}

void TreeWriter::paragraph_part(const std::vector<Inline>& part) {
    if (!paragraph_) {
        // Its last item is markup, so the paragraph writes something.
        separate_next(BlockKind::Paragraph);
        begin_text_lines(Lines::Paragraph, enclosing_closer());
        paragraph_.emplace();
    }
    items_after(part, {}, *paragraph_);
}

void TreeWriter::finish_paragraph(const Block& block) {
    After& previous_item = *paragraph_;
    items_after(std::get<Block::Paragraph>(block.node).inlines, {}, previous_item);
    if (closer_joins_suffix(previous_item, {})) out_ += '|';
    paragraph_.reset();
    end_paragraph();
    previous() = BlockKind::Paragraph;
}

void TreeWriter::trim_end(std::size_t start) {
    std::size_t end = out_.size();
    while (end > start) {
        std::size_t before = end;
        if (!unicode::is_whitespace(unicode::prev_char(out_, before))) break;
        end = before;
    }
    out_.resize(end);
}

void TreeWriter::inlines(const std::vector<Inline>& list, std::string_view closer) {
    After previous;
    items_after(list, closer, previous);
    if (closer_joins_suffix(previous, closer)) out_ += '|';
}

void TreeWriter::items_after(const std::vector<Inline>& list, std::string_view closer, After& previous) {
    // Most lists hold no enlexis at all, which is told at a glance.
    const bool enlexis = std::any_of(list.begin(), list.end(),
                                     [](const Inline& item) { return item.kind() == InlineKind::Enlexis; });
    if (enlexis) {
        if (const auto pieces = in_pieces(list)) return items(*pieces, closer, previous);
    }
    items(list, closer, previous);
}

void TreeWriter::items(const std::vector<Inline>& list, std::string_view closer, After& previous) {
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
}

std::vector<Inline> TreeWriter::enlexis_pieces(const Inline::Enlexis& enlexis) {
    std::vector<Inline> out;
    if (enlexis.text.find("\"@@") == nowhere && enlexis.text.find('\n') == nowhere) return out;
    for (const Inline& piece : literal_inlines(enlexis.text)) {
        const std::string_view text = std::get<Inline::Enlexis>(piece.node).text;
        std::string kept;
        std::size_t start = 0;
        for (std::size_t feed = text.find('\n'); feed != nowhere; feed = text.find('\n', start)) {
            kept.append(text, start, feed - start);
            start = feed + 1;
            // A line of the enlexis that ends in a carriage return would
            // lose it when read: the piece ends there, before its closer.
            const bool ends_in_return = !kept.empty() && kept.back() == '\r';
            if (line_.lines == Lines::Paragraph && !ends_in_return && continues_paragraph(text.substr(start))) {
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

bool TreeWriter::continues_paragraph(std::string_view rest) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    const bool whole_line = end < rest.size();
    std::string line(rest.substr(0, end));
    if (!whole_line) line += "\"@@";  // the piece's closer follows on this line
    if (line.empty() || unicode::is_whitespace(first_char(line))) return false;
    // Only a line that begins with the block's closer ends the block. A
    // whole line is known to its end; after the piece's closer more may
    // follow on the line, so there any start of the closer counts.
    if (!line_.block_closer.empty() &&
        (whole_line ? line.starts_with(line_.block_closer) : prefix_related(line, line_.block_closer))) {
        return false;
    }
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

bool TreeWriter::opens_no_para_simmere(std::string_view text) {
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

std::optional<std::vector<Inline>> TreeWriter::in_pieces(const std::vector<Inline>& list) {
    std::optional<std::vector<Inline>> out;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const auto* enlexis = std::get_if<Inline::Enlexis>(&list[i].node);
        if (!enlexis && !out) continue;
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

// Inlined into items, as write_text is into text_item: a paragraph has tens
// of text items, most of them short, and a call for each step cost more
// than writing them.
[[gnu::always_inline]] inline void TreeWriter::text_with_backslashes(std::string_view text, const Inline* next,
                                                                     std::string_view closer, After& previous) {
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

void TreeWriter::text_item(std::string_view text, const Inline* next, std::string_view closer, After& previous) {
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

[[gnu::always_inline]] inline std::size_t TreeWriter::write_text(std::string_view text, bool after_markup,
                                                                  bool before_markup) {
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

bool TreeWriter::closes_early(std::size_t start, std::string_view next, std::string_view closer) const {
    const std::string_view written = std::string_view(out_).substr(start);
    // `next` begins with the sigil, so only a split in front of one of the
    // closer's sigils is tried in full: the work stays within the text.
    for (std::size_t n = 1; n < closer.size() && n <= written.size(); ++n) {
        if (out_.size() - n == escaped_at_) continue;  // the second character of an escape
        if (prefix_related(closer.substr(n), next) && written.ends_with(closer.substr(0, n))) return true;
    }
    return false;
}

bool TreeWriter::line_may_meet_block_closer() const {
    if (line_.lines == Lines::Single || line_.at_line_start || line_.block_closer.empty()) return false;
    return out_.size() - line_.line_start < line_.block_closer.size();
}

bool TreeWriter::meets_block_closer(std::string_view next) const {
    if (!line_may_meet_block_closer()) return false;
    const std::string_view line = std::string_view(out_).substr(line_.line_start);
    return prefix_related(std::string(line) + std::string(next), line_.block_closer);
}

void TreeWriter::begin_visible() {
    if (!line_.at_line_start) return;
    line_.at_line_start = false;
    line_.line_start = out_.size();
}

void TreeWriter::before_deixis(std::string_view target, std::string_view closer) {
    if (line_.lines != Lines::Paragraph || !line_.at_line_start) return;
    if (line_.first_line && !is_ascii_digits(target)) return;
    begin_visible();
    // "|" before the sigil reads as nothing, unless a closer begins with it.
    const bool bar_closes = closer.starts_with('|') || line_.block_closer.starts_with('|');
    out_ += bar_closes ? empty_comment : std::string_view("|");
}

void TreeWriter::write_closer(std::string_view closer) {
    if (line_.lines == Lines::Paragraph && line_.at_line_start && !line_.block_closer.empty() &&
        prefix_related(closer, line_.block_closer)) {
        begin_visible();
        out_ += empty_comment;
    }
    begin_visible();
    out_ += closer;
}

void TreeWriter::write(const Inline& item, std::string_view closer) {
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

void TreeWriter::call(std::string_view head, std::string_view param) {
    out_ += head;
    out_ += '(';
    out_ += param;
    out_ += ')';
}

TreeWriter::EndoSpelling TreeWriter::spell_endo(std::string_view symbol, std::string_view run, bool mirrored) {
    Token token = sim_token(symbol, run, true);
    std::string closer = episim_symbol(token.text, mirrored) + '@';
    return {std::move(token), std::move(closer)};
}

const TreeWriter::EndoSpelling& TreeWriter::endo_spelling(const Inline::EndoSimmere& x, EndoSpelling& uncommon) {
    const std::string lead = lead_after_opener(x);
    if (!lead.empty()) return uncommon = spell_endo(x.symbol, x.symbol + lead, x.mirrored);
    std::unique_ptr<EndoSpellings>& made = known().plain_endo_spellings[x.mirrored ? 1 : 0];
    if (!made) made = std::make_unique<EndoSpellings>();
    EndoSpellings& spellings = *made;
    const bool one_byte = x.symbol.size() == 1 && static_cast<unsigned char>(x.symbol[0]) < 0x80;
    if (one_byte) {
        if (const EndoSpelling* known = spellings.one_byte[static_cast<unsigned char>(x.symbol[0])]) return *known;
    } else if (const auto* recent = spellings.recent.find(x.symbol)) {
        return recent->second;
    }
    auto found = spellings.by_symbol.find(x.symbol);
    if (found == spellings.by_symbol.end()) {
        found = spellings.by_symbol.emplace(x.symbol, spell_endo(x.symbol, x.symbol, x.mirrored)).first;
    }
    if (one_byte) {
        spellings.one_byte[static_cast<unsigned char>(x.symbol[0])] = &found->second;
    } else {
        spellings.recent.remember(*found);
    }
    return found->second;
}

TreeWriter::Token TreeWriter::sim_token(std::string_view symbol, std::string_view run, bool endo) {
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

}  // namespace ilvex::writing
