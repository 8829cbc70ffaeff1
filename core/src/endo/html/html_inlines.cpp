// The inline converter: running text with em, strong, span, a and code, and
// br where the text is a strophe.
#include <algorithm>
#include <string>
#include <utility>
#include <variant>

#include "dialektos/unicode.hpp"
#include "endo/html/html_converter.hpp"
#include "endo/html/html_text.hpp"
#include "endo/tree_builders.hpp"
#include "endo/xml/xml_entities.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {
namespace {

Status markup(HtmlConverter& converter, const XmlOpen& open, std::string_view symbol, bool verse, InlineRun& run) {
    Suffix suffix;
    if (open.name == "span") suffix.genoses = html_class_genoses(html_class_words(open.attrs));
    if (verse) ++converter.verse_markup;
    Result<InlineRun> content = import_html_element_inlines(converter, open, verse);
    if (verse) --converter.verse_markup;
    if (!content) return std::move(content).error();
    run.push_wrapped(std::move(content).value(), [&](std::vector<Inline> children) {
        return Inline(Inline::EndoSimmere{std::string(symbol), std::move(children), suffix, true});
    });
    return {};
}

// An anchor with a target is its link, beside the anchor's text when that
// says something else; without one, its text as it stands.
Status anchor(HtmlConverter& converter, const XmlOpen& open, bool verse, InlineRun& run) {
    const std::optional<std::string_view> href = attribute_value(open.attrs, "href");
    const std::string_view target = href ? unicode::trim(*href) : std::string_view();
    Result<InlineRun> content = import_html_element_inlines(converter, open, verse);
    if (!content) return std::move(content).error();
    InlineRun children = std::move(content).value();
    if (target.empty()) {
        run.append(std::move(children));
        return {};
    }
    if (children.has_breaks()) {
        run.append(std::move(children));
    } else {
        std::vector<Inline> items = std::move(children).inlines();
        const auto* only = items.size() == 1 ? std::get_if<Inline::Text>(&items.front().node) : nullptr;
        if (items.empty() || (only && unicode::trim(only->text) == target)) {
            run.push(link_inline(target));
            return {};
        }
        for (Inline& item : items) run.push(std::move(item));
    }
    run.push(Inline::Text{" ("});
    run.push(link_inline(target));
    run.push(Inline::Text{")"});
    return {};
}

// A line of running text cannot end in carriage returns: the document line
// would lose them. Inline code that spans lines ends them with line feeds
// alone.
std::string without_carriage_returns_at_line_ends(std::string text) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '\r') {
            text[kept++] = text[i++];
            continue;
        }
        const std::size_t run_end = std::min(text.find_first_not_of('\r', i), text.size());
        const bool line_end = run_end < text.size() && text[run_end] == '\n';
        for (; i < run_end; ++i) {
            if (!line_end) text[kept++] = '\r';
        }
    }
    text.resize(kept);
    return text;
}

// Inline code holds text only.
Status code(HtmlConverter& converter, const XmlOpen& open, InlineRun& run) {
    std::string text;
    if (!open.self_closing) {
        for (;;) {
            const std::optional<XmlToken> token = converter.tokens.take();
            const auto* piece = token ? std::get_if<XmlText>(&*token) : nullptr;
            if (piece == nullptr) {
                if (is_html_close(token ? &*token : nullptr, "code")) break;
                return converter.error("unclosed `<code>`");
            }
            text += decode_xml_entities(piece->text);
        }
    }
    run.push(Inline::Enlexis{without_carriage_returns_at_line_ends(std::move(text)), {}});
    return {};
}

Status inline_element(HtmlConverter& converter, const XmlOpen& open, bool verse, InlineRun& run) {
    if (open.name == "br" && verse && converter.verse_markup <= max_markup_around_break) {
        run.push_break();
        if (!open.self_closing && is_html_close(converter.tokens.peek(), "br")) converter.tokens.skip();
        return {};
    }
    if (open.name == "em") return markup(converter, open, "/", verse, run);
    if (open.name == "strong") return markup(converter, open, "!", verse, run);
    if (open.name == "span") return markup(converter, open, ",", verse, run);
    if (open.name == "a") return anchor(converter, open, verse, run);
    if (open.name == "code") return code(converter, open, run);
    return converter.error("unsupported inline element: `<" + open.name + ">`");
}

}  // namespace

Result<InlineRun> import_html_element_inlines(HtmlConverter& converter, const XmlOpen& open, bool verse) {
    if (open.self_closing) return InlineRun();
    Result<NestingDepth::Level> level = converter.context.enter();
    if (!level) return std::move(level).error();
    return import_html_inlines(converter, open.name, verse);
}

Result<InlineRun> import_html_inlines(HtmlConverter& converter, std::string_view end, bool verse) {
    InlineRun run;
    for (;;) {
        std::optional<XmlToken> token = converter.tokens.take();
        if (!token) return converter.unclosed(end);
        if (const auto* close = std::get_if<XmlClose>(&*token)) {
            if (close->name == end) return run;
            return converter.unexpected_close(close->name);
        }
        if (const auto* text = std::get_if<XmlText>(&*token)) {
            run.push(Inline::Text{decode_xml_entities(text->text)});
            continue;
        }
        if (Status done = inline_element(converter, std::get<XmlOpen>(*token), verse, run); !done) return done.error();
    }
}

}  // namespace ilvex
