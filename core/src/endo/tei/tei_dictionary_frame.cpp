#include "endo/tei/tei_dictionary_frame.hpp"

#include <optional>
#include <string>
#include <utility>

#include "dialektos/unicode.hpp"
#include "endo/tei/tei_dictionary.hpp"
#include "endo/tei/tei_entry_keys.hpp"
#include "endo/tei/tei_header.hpp"
#include "endo/tei/tei_inlines.hpp"
#include "endo/tei/tei_post_passes.hpp"
#include "endo/tei/tei_tokens.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {
namespace {

// What the walk builds: the blocks, and the entries that have an identifier.
struct Dictionary {
    std::vector<Block> blocks;
    std::vector<TeiEntryId> ids;
};

std::optional<std::string_view> entry_identifier(const XmlOpen& open) {
    if (auto id = attribute_value(open.attrs, "xml:id")) return id;
    return attribute_value(open.attrs, "id");
}

Result<std::size_t> entry(TeiContext& context, std::size_t index, const XmlOpen& open, Dictionary& out) {
    Result<TeiBlock> built = import_tei_entry_at(context, index);
    if (!built) return std::move(built).error();
    if (const std::optional<std::string_view> id = entry_identifier(open)) {
        out.ids.push_back({out.blocks.size(), std::string(*id)});
    }
    out.blocks.push_back(std::move(built->block));
    return built->next;
}

Result<std::size_t> paragraph(TeiContext& context, std::size_t index, Dictionary& out) {
    Result<TeiInlines> content = tei_element_inlines(context, index);
    if (!content) return std::move(content).error();
    if (!content->inlines.empty()) out.blocks.emplace_back(Block::Paragraph{std::move(content->inlines)});
    for (Block& block : content->blocks) out.blocks.push_back(std::move(block));
    return content->next;
}

// A head is a flat section without content; an empty one is left out, as
// a section cannot be written without its lemma.
Result<std::size_t> head(TeiContext& context, std::size_t index, Dictionary& out) {
    Result<TeiInlines> content = tei_element_inlines_without_notes(context, index);
    if (!content) return std::move(content).error();
    if (!content->inlines.empty()) {
        Block::Para section;
        section.mirrored = false;
        section.symbol = "#";
        section.lemma = std::move(content->inlines);
        out.blocks.push_back(std::move(section));
    }
    return content->next;
}

Result<std::size_t> top_level_element(TeiContext& context, std::size_t index, Dictionary& out) {
    const XmlOpen& open = std::get<XmlOpen>(context.tokens[index]);
    const std::string_view name = open.name;
    if (name == "entry") return entry(context, index, open, out);
    if (name == "p") return paragraph(context, index, out);
    if (name == "head") return head(context, index, out);
    if (open.self_closing) return index + 1;
    if (name == "teiHeader") return import_tei_header(context, index + 1, out.blocks);
    if (name == "front" || name == "back" || name == "standOff") {
        return skip_element(context.tokens, index + 1, name, context.closes);
    }
    return index + 1;
}

// Stray text as a paragraph of its own.
void stray_text(const XmlText& token, Dictionary& out) {
    const std::string text = tei_text(token.text);
    const std::string_view trimmed = unicode::trim(text);
    if (!trimmed.empty()) out.blocks.emplace_back(Block::Paragraph{{Inline::Text{std::string(trimmed)}}});
}

}  // namespace

Result<std::vector<Block>> import_tei_dictionary(TeiContext& context) {
    Dictionary out;
    for (std::size_t i = 0; i < context.tokens.size();) {
        const XmlToken& token = context.tokens[i];
        if (const auto* text = std::get_if<XmlText>(&token)) stray_text(*text, out);
        if (!std::holds_alternative<XmlOpen>(token)) {
            ++i;
            continue;
        }
        Result<std::size_t> next = top_level_element(context, i, out);
        if (!next) return std::move(next).error();
        i = *next;
    }
    number_tei_homographs(out.blocks);
    const auto keys = tei_entry_keys(out.blocks, out.ids);
    if (!keys.empty()) rewrite_tei_entry_refs(out.blocks, keys);
    return std::move(out.blocks);
}

}  // namespace ilvex
