#include "endo/scripture/osis_inlines.hpp"

#include <utility>

#include "endo/scripture/scripture_blocks.hpp"
#include "endo/whitespace.hpp"
#include "endo/writable.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {
namespace {

using Inlines = std::vector<Inline>;

void append(Inlines& out, Inlines&& more) {
    out.insert(out.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

// The part of an osisID or sID after its last ".".
std::string last_segment(std::string_view id) {
    const std::size_t dot = id.rfind('.');
    return std::string(dot == std::string_view::npos ? id : id.substr(dot + 1));
}

std::string_view type_of(const XmlOpen& open) { return attribute_value(open.attrs, "type").value_or(""); }

std::string_view highlight_style(std::string_view type) {
    if (type == "bold") return "bd";
    if (type == "italic") return "it";
    if (type == "small-caps") return "sc";
    if (type == "normal") return "no";
    return "em";
}

// The character style of a segment type; nothing for a segment whose content
// stands alone.
std::optional<std::string_view> segment_style(std::string_view type) {
    if (type == "selah") return "qs";
    if (type == "keyword") return "k";
    if (type == "otPassage") return "qt";
    if (type.empty()) return std::nullopt;
    return type;
}

// The character style of an inline element; nothing for an element whose
// content stands without a sim, `unsupported` set for one that is not known.
std::optional<std::string_view> inline_style(const XmlOpen& open, bool& unsupported) {
    const std::string_view name = open.name;
    if (name == "hi") return highlight_style(type_of(open));
    if (name == "divineName") return "nd";
    if (name == "transChange") return "add";
    if (name == "foreign") return "tl";
    if (name == "signed") return "sig";
    if (name == "name") return type_of(open) == "x-workTitle" ? std::optional<std::string_view>("bk") : std::nullopt;
    if (name == "q") {
        return attribute_value(open.attrs, "who") == "Jesus" ? std::optional<std::string_view>("wj") : std::nullopt;
    }
    if (name == "seg") return segment_style(type_of(open));
    unsupported = !(name == "a" || name == "w" || name == "rdg" || name == "reference" || name == "catchWord");
    return std::nullopt;
}

ConvertedInlines finished(Inlines inlines, std::size_t next) {
    isolate_trailing_backslashes(inlines);
    return {std::move(inlines), next};
}

// A self-closing element in running text: line breaks keep words apart,
// quotation and other milestones add nothing.
Status empty_inline(const TokenWalk& walk, const XmlOpen& open, Inlines& out) {
    if (open.name == "lb") {
        push_word_break(out);
        return {};
    }
    if (open.name == "q" || open.name == "milestone") return {};
    std::string message = "unexpected <";
    message += open.name;
    message += "/> in inline content";
    return walk.context.error(message);
}

}  // namespace

std::optional<std::string> osis_number(const std::vector<XmlAttribute>& attrs) {
    if (const auto n = attribute_value(attrs, "n")) return std::string(*n);
    if (const auto id = attribute_value(attrs, "osisid")) return last_segment(*id);
    if (const auto start = attribute_value(attrs, "sid")) return last_segment(*start);
    return std::nullopt;
}

Result<ConvertedInlines> import_osis_inlines(const TokenWalk& walk, std::size_t start, std::string_view element) {
    Result<NestingDepth::Level> level = walk.context.enter();
    if (!level) return std::move(level).error();
    Inlines out;
    std::size_t i = start;
    while (true) {
        Result<const XmlToken*> next = walk.tokens.at(i++);
        if (!next) return std::move(next).error();
        if (*next == nullptr) break;
        const XmlToken& token = **next;
        if (const auto* text = std::get_if<XmlText>(&token)) {
            push_content_text(out, content_text(*text));
            continue;
        }
        if (const auto* close = std::get_if<XmlClose>(&token)) {
            if (close->name == element) return finished(std::move(out), i);
            if (close->name == "verse") continue;  // a container verse is transparent
            std::string message = "unmatched </";
            message += close->name;
            message += '>';
            return walk.context.error(message);
        }
        const auto& open = std::get<XmlOpen>(token);
        if (open.name == "verse") {
            if (attribute_value(open.attrs, "eid")) continue;  // a verse end
            if (std::optional<std::string> number = osis_number(open.attrs)) {
                push_verse_milestone(out, std::move(*number));
            }
            continue;
        }
        if (open.name == "note") {
            if (open.self_closing) continue;
            const bool cross_reference = type_of(open) == "crossReference";
            Result<ConvertedInlines> content = import_osis_note(walk, i, cross_reference);
            if (!content) return std::move(content).error();
            i = content.value().next;
            trim_inlines(content.value().inlines);
            out.push_back(note(cross_reference ? "x" : "f", std::move(content.value().inlines)));
            continue;
        }
        if (open.self_closing) {
            if (Status empty = empty_inline(walk, open, out); !empty) return std::move(empty).error();
            continue;
        }
        space_after_mark(out);
        Result<ConvertedInlines> content = import_osis_inlines(walk, i, open.name);
        if (!content) return std::move(content).error();
        i = content.value().next;
        bool unsupported = false;
        const std::optional<std::string_view> style = inline_style(open, unsupported);
        if (unsupported) {
            std::string message = "unsupported inline element <";
            message += open.name;
            message += '>';
            return walk.context.error(message);
        }
        if (style) {
            wrap_inline_sim(out, *style, std::move(content.value().inlines));
        } else {
            append(out, std::move(content.value().inlines));
        }
    }
    return unterminated_error(walk.context, element);
}

Result<ConvertedInlines> import_osis_note(const TokenWalk& walk, std::size_t start, bool cross_reference) {
    Result<NestingDepth::Level> level = walk.context.enter();
    if (!level) return std::move(level).error();
    Inlines out;
    std::size_t i = start;
    while (true) {
        Result<const XmlToken*> next = walk.tokens.at(i++);
        if (!next) return std::move(next).error();
        if (*next == nullptr) break;
        const XmlToken& token = **next;
        if (const auto* text = std::get_if<XmlText>(&token)) {
            out.emplace_back(Inline::Text{content_text(*text)});
            continue;
        }
        if (const auto* close = std::get_if<XmlClose>(&token)) {
            if (close->name == "note") return finished(std::move(out), i);
            std::string message = "unmatched </";
            message += close->name;
            message += "> in a note";
            return walk.context.error(message);
        }
        const auto& open = std::get<XmlOpen>(token);
        if (open.self_closing) continue;
        Result<ConvertedInlines> content = import_osis_inlines(walk, i, open.name);
        if (!content) return std::move(content).error();
        i = content.value().next;
        if (open.name == "reference") {
            wrap_inline_sim(out, cross_reference ? "xo" : "fr", std::move(content.value().inlines));
        } else {
            append(out, std::move(content.value().inlines));
        }
    }
    return unterminated_error(walk.context, "note");
}

Result<ConvertedStrophes> import_osis_line_group(const TokenWalk& walk, std::size_t start) {
    Result<NestingDepth::Level> level = walk.context.enter();
    if (!level) return std::move(level).error();
    std::vector<Strophe> strophes;
    Strophe strophe;
    const auto close_strophe = [&] {
        if (strophe.empty()) return;
        strophes.push_back(std::move(strophe));
        strophe.clear();
    };
    std::size_t i = start;
    while (true) {
        Result<const XmlToken*> next = walk.tokens.at(i++);
        if (!next) return std::move(next).error();
        if (*next == nullptr) break;
        const XmlToken& token = **next;
        if (const auto* text = std::get_if<XmlText>(&token); text != nullptr && holds_only_white_space(text->text)) continue;
        if (const auto* close = std::get_if<XmlClose>(&token); close != nullptr && close->name == "lg") {
            close_strophe();
            return ConvertedStrophes{std::move(strophes), i};
        }
        const auto* open = std::get_if<XmlOpen>(&token);
        if (open != nullptr && open->name == "l") {
            if (open->self_closing) continue;
            Result<ConvertedInlines> content = import_osis_inlines(walk, i, "l");
            if (!content) return std::move(content).error();
            i = content.value().next;
            std::string genos = "q";
            genos += attribute_value(open->attrs, "level").value_or("1");
            Inlines line;
            wrap_inline_sim(line, genos, std::move(content.value().inlines));
            strophe.push_back(std::move(line));
            continue;
        }
        if (open != nullptr && open->name == "lg") {
            // A group boundary, whether a nested group or a milestone-form
            // start tag, which is empty and reads on to no end tag.
            close_strophe();
            if (open->self_closing) continue;
            Result<ConvertedStrophes> nested = import_osis_line_group(walk, i);
            if (!nested) return std::move(nested).error();
            i = nested.value().next;
            for (Strophe& inner : nested.value().strophes) strophes.push_back(std::move(inner));
            continue;
        }
        return token_error(walk.context, "unexpected ", token, " in an lg");
    }
    return unterminated_error(walk.context, "lg");
}

}  // namespace ilvex
