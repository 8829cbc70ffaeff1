#include "endo/scripture/scripture_blocks.hpp"

#include <algorithm>
#include <utility>

#include "dialektos/unicode.hpp"
#include "endo/whitespace.hpp"
#include "endo/writable.hpp"

namespace ilvex {
namespace {

struct MarkerAlias {
    std::string_view name;
    std::string_view canonical;
};

constexpr std::array<MarkerAlias, 10> marker_aliases = {{
    {"s", "s1"},
    {"s4", "s3"},
    {"mt", "mt1"},
    {"ms", "ms1"},
    {"is", "is1"},
    {"io", "io1"},
    {"pi", "pi1"},
    {"li", "li1"},
    {"imt", "imt1"},
    {"ili", "ili1"},
}};

template <std::size_t N>
bool listed(const std::array<std::string_view, N>& table, std::string_view name) {
    return std::find(table.begin(), table.end(), name) != table.end();
}

Inline monosim(std::string_view symbol, std::string param) {
    return Inline::Monosim{std::string(symbol), std::move(param), {}};
}

bool ends_in_whitespace(const Inline& item) {
    const auto* text = std::get_if<Inline::Text>(&item.node);
    if (text == nullptr || text->text.empty()) return false;
    std::size_t end = text->text.size();
    return unicode::is_whitespace(unicode::prev_char(text->text, end));
}

}  // namespace

bool is_usfm_paragraph_style(std::string_view canonical_name) {
    return listed(USFM_PARAGRAPH_STYLES, canonical_name);
}

bool is_usfm_heading_style(std::string_view canonical_name) {
    return listed(USFM_HEADING_STYLES, canonical_name);
}

std::string_view canonical_usfm_marker(std::string_view name) {
    for (const MarkerAlias& alias : marker_aliases) {
        if (alias.name == name) return alias.canonical;
    }
    return name;
}

Suffix style_suffix(std::string_view name) {
    Suffix suffix;
    if (std::optional<std::string> genos = writable_genos(name)) suffix.genoses.push_back(std::move(*genos));
    return suffix;
}

Inline chapter_milestone(std::string number) { return monosim(chapter_symbol, std::move(number)); }

Block chapter_block(std::string number) {
    std::vector<Inline> inlines;
    inlines.push_back(chapter_milestone(std::move(number)));
    return Block::Paragraph{std::move(inlines)};
}

Inline verse_milestone(std::string number) { return monosim(verse_symbol, std::move(number)); }

void push_verse_milestone(std::vector<Inline>& inlines, std::string number) {
    if (!inlines.empty() && !ends_in_whitespace(inlines.back())) inlines.emplace_back(Inline::Text{" "});
    inlines.push_back(verse_milestone(std::move(number)));
}

Block book_division_block(std::string book_code, std::vector<Block> children) {
    std::vector<Inline> lemma;
    lemma.emplace_back(Inline::Text{std::move(book_code)});
    return Block::Para{true, std::string(book_symbol), std::move(lemma), std::move(children), {}, {},
                       Taxis::absent()};
}

Block typed_block(std::string_view style, std::vector<Inline> inlines) {
    std::vector<Inline> only;
    only.emplace_back(Inline::EndoSimmere{std::string(block_symbol), std::move(inlines), style_suffix(style), true});
    return Block::Paragraph{std::move(only)};
}

Inline phrase(std::string_view genos, std::vector<Inline> children) {
    return Inline::EndoSimmere{std::string(phrase_symbol), std::move(children), style_suffix(genos), true};
}

Inline note(std::string_view kind, std::vector<Inline> children) {
    return Inline::EndoSimmere{std::string(note_symbol), std::move(children), style_suffix(kind), true};
}

void poetry_block(Strophe& current_strophe, std::vector<Strophe>& strophes, std::vector<Block>& blocks) {
    if (!current_strophe.empty()) {
        strophes.push_back(std::move(current_strophe));
        current_strophe.clear();
    }
    if (strophes.empty()) return;
    blocks.emplace_back(Block::Stichoi{true, std::string(poetry_symbol), {}, std::move(strophes), {}, {},
                                       Taxis::absent()});
    strophes.clear();
}

void wrap_inline_sim(std::vector<Inline>& out, std::string_view genos, std::vector<Inline> children) {
    trim_inlines(children);
    out.push_back(phrase(genos, std::move(children)));
}

}  // namespace ilvex
