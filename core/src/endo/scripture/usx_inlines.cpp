#include "endo/scripture/usx_inlines.hpp"

#include <array>
#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "endo/scripture/scripture_blocks.hpp"
#include "endo/whitespace.hpp"
#include "endo/writable.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {
namespace {

using Inlines = std::vector<Inline>;

// Character styles that mark words (glossary words, Hebrew and Greek words,
// ruby glosses): their content stands as plain text.
constexpr std::array<std::string_view, 5> word_styles = {"w", "wh", "wg", "wa", "rb"};

// Note character styles whose content stands as plain text of the note.
constexpr std::array<std::string_view, 9> plain_note_styles = {"w", "wh", "ft", "fk", "fq", "fqa", "fl", "xt", "xq"};

template <std::size_t N>
bool listed(const std::array<std::string_view, N>& table, std::string_view name) {
    return std::find(table.begin(), table.end(), name) != table.end();
}

void append(Inlines& out, Inlines&& more) {
    out.insert(out.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

std::string_view note_kind(std::string_view style) {
    if (style == "fe") return "fe";
    if (style == "x" || style == "ex") return "x";
    return "f";
}

ConvertedInlines finished(Inlines inlines, std::size_t next) {
    isolate_trailing_backslashes(inlines);
    return {std::move(inlines), next};
}

}  // namespace

Result<ConvertedInlines> import_usx_inlines(const TokenWalk& walk, std::size_t start, std::string_view element) {
    Result<NestingDepth::Level> level = walk.context.enter();
    if (!level) return std::move(level).error();
    Inlines out;
    std::size_t i = start;
    while (true) {
        Result<const XmlToken*> next = walk.tokens.at(i);
        if (!next) return std::move(next).error();
        if (*next == nullptr) break;
        const XmlToken& token = **next;
        if (const auto* text = std::get_if<XmlText>(&token)) {
            push_content_text(out, content_text(*text));
            ++i;
            continue;
        }
        if (const auto* close = std::get_if<XmlClose>(&token)) {
            if (close->name == element) return finished(std::move(out), i + 1);
            if (close->name != "ref") return token_error(walk.context, "unexpected ", token, " in inline content");
            ++i;
            continue;
        }
        const auto& open = std::get<XmlOpen>(token);
        ++i;
        if (open.name == "verse") {
            if (const auto number = attribute_value(open.attrs, "number")) push_verse_milestone(out, std::string(*number));
            continue;
        }
        if (open.name == "char") {
            const auto style = attribute_value(open.attrs, "style");
            if (!style) return walk.context.error("<char> without a style");
            if (open.self_closing) continue;
            space_after_mark(out);
            Result<ConvertedInlines> content = import_usx_inlines(walk, i, "char");
            if (!content) return std::move(content).error();
            i = content.value().next;
            if (listed(word_styles, *style)) {
                append(out, std::move(content.value().inlines));
            } else {
                wrap_inline_sim(out, *style, std::move(content.value().inlines));
            }
            continue;
        }
        if (open.name == "note") {
            if (open.self_closing) continue;
            Result<ConvertedInlines> content = import_usx_note(walk, i);
            if (!content) return std::move(content).error();
            i = content.value().next;
            out.push_back(note(note_kind(attribute_value(open.attrs, "style").value_or("f")),
                               std::move(content.value().inlines)));
            continue;
        }
        if (open.name == "ref" || open.name == "optbreak") {
            if (open.name == "optbreak") out.emplace_back(Inline::Text{" "});
            if (open.self_closing) continue;
            Result<ConvertedInlines> content = import_usx_inlines(walk, i, open.name);
            if (!content) return std::move(content).error();
            i = content.value().next;
            append(out, std::move(content.value().inlines));
            continue;
        }
        return token_error(walk.context, "unexpected ", token, " in inline content");
    }
    return unterminated_error(walk.context, element);
}

Result<ConvertedInlines> import_usx_note(const TokenWalk& walk, std::size_t start) {
    Result<NestingDepth::Level> level = walk.context.enter();
    if (!level) return std::move(level).error();
    Inlines out;
    std::size_t i = start;
    while (true) {
        Result<const XmlToken*> next = walk.tokens.at(i);
        if (!next) return std::move(next).error();
        if (*next == nullptr) break;
        const XmlToken& token = **next;
        if (const auto* text = std::get_if<XmlText>(&token)) {
            out.emplace_back(Inline::Text{content_text(*text)});
            ++i;
            continue;
        }
        if (const auto* close = std::get_if<XmlClose>(&token)) {
            if (close->name == "note") return finished(std::move(out), i + 1);
            return token_error(walk.context, "unexpected ", token, " in a note");
        }
        const auto& open = std::get<XmlOpen>(token);
        ++i;
        if (open.name != "ref" && open.name != "char") {
            return token_error(walk.context, "unexpected ", token, " in a note");
        }
        if (open.self_closing) continue;
        Result<ConvertedInlines> content = import_usx_inlines(walk, i, open.name);
        if (!content) return std::move(content).error();
        i = content.value().next;
        Inlines& inlines = content.value().inlines;
        const std::string_view style = open.name == "char" ? attribute_value(open.attrs, "style").value_or("") : "";
        if (open.name == "ref" || listed(plain_note_styles, style)) {
            append(out, std::move(inlines));
        } else if (style == "fr" || style == "xo") {
            wrap_inline_sim(out, style, std::move(inlines));
        } else {
            out.push_back(phrase(style, std::move(inlines)));
        }
    }
    return unterminated_error(walk.context, "note");
}

}  // namespace ilvex
