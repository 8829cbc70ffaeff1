// Verse divisions: a title, an attribution and strophes, each a classed
// paragraph, the strophes' lines ended by br.
#include <algorithm>
#include <string>
#include <utility>
#include <variant>

#include "dialektos/unicode.hpp"
#include "endo/html/html_converter.hpp"
#include "endo/html/html_text.hpp"

namespace ilvex {
namespace {

bool is_blank_text(const Inline& item) {
    const auto* text = std::get_if<Inline::Text>(&item.node);
    return text && is_white_space_only(text->text);
}

// The white space that begins `text` when it holds a line feed: the
// source's own line break after a br and the indentation of the next source
// line, which lay the source out and are no part of the verse line. White
// space after a br on the same source line is the line's own indentation.
std::size_t source_layout_length(std::string_view text) {
    std::size_t end = 0;
    bool line_feed = false;
    while (end < text.size()) {
        std::size_t next = end;
        if (!unicode::is_whitespace(unicode::next_char(text, next))) break;
        line_feed = line_feed || text[end] == '\n';
        end = next;
    }
    return line_feed ? end : 0;
}

// The lines of a strophe paragraph: split at its breaks, each line without
// the source layout that begins it, and without a last line that holds
// nothing but white space (what follows the last br).
Strophe strophe_of(InlineRun run) {
    Strophe lines = std::move(run).lines();
    for (std::vector<Inline>& line : lines) {
        if (line.empty()) continue;
        auto* first = std::get_if<Inline::Text>(&line.front().node);
        if (first == nullptr) continue;
        first->text.erase(0, source_layout_length(first->text));
        if (first->text.empty()) line.erase(line.begin());
    }
    const std::vector<Inline>& last = lines.back();
    if (std::all_of(last.begin(), last.end(), is_blank_text)) lines.pop_back();
    for (std::vector<Inline>& line : lines) as_verse_line(line);
    return lines;
}

// A title or attribution, written on the one line of a lemma or hypograph.
Status single_line(HtmlConverter& converter, const XmlOpen& p, std::vector<Inline>& into) {
    Result<InlineRun> content = import_html_element_inlines(converter, p, false);
    if (!content) return std::move(content).error();
    into = std::move(content).value().inlines();
    as_single_line(into);
    return {};
}

Status verse_paragraph(HtmlConverter& converter, const XmlOpen& p, Block::Stichoi& verse) {
    const std::vector<std::string_view> words = html_class_words(p.attrs);
    const std::string_view kind = words.empty() ? std::string_view() : words.front();
    if (kind == "strophe") {
        Result<InlineRun> content = import_html_element_inlines(converter, p, true);
        if (!content) return std::move(content).error();
        verse.strophes.push_back(strophe_of(std::move(content).value()));
        return {};
    }
    if (kind == "verse-title" || kind == "table-caption") return single_line(converter, p, verse.lemma);
    if (kind == "verse-attribution") return single_line(converter, p, verse.hypograph);
    return converter.error("unsupported paragraph inside a verse");
}

}  // namespace

Result<Block> import_html_verse_division(HtmlConverter& converter, const XmlOpen& div, Taxis taxis,
                                         std::vector<std::string> genoses) {
    Block::Stichoi verse{true, std::string("~"), {}, {}, {}, Suffix{std::nullopt, std::move(genoses)}, taxis};
    if (div.self_closing) return Block(std::move(verse));
    Result<NestingDepth::Level> level = converter.context.enter();
    if (!level) return std::move(level).error();
    for (;;) {
        const std::optional<XmlToken> token = converter.tokens.take();
        if (!token) return converter.error("unterminated verse division");
        if (const auto* text = std::get_if<XmlText>(&*token); text && is_white_space_only(text->text)) continue;
        if (const auto* close = std::get_if<XmlClose>(&*token); close && close->name == "div") {
            return Block(std::move(verse));
        }
        const auto* p = std::get_if<XmlOpen>(&*token);
        if (p == nullptr || p->name != "p") return converter.error("unsupported content inside a verse");
        if (Status read = verse_paragraph(converter, *p, verse); !read) return std::move(read).error();
    }
}

}  // namespace ilvex
