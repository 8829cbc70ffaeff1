#include "endo/scripture/scripture_xml.hpp"

#include <utility>

#include "dialektos/unicode.hpp"
#include "endo/whitespace.hpp"
#include "endo/xml/xml_entities.hpp"

namespace ilvex {

std::string_view without_byte_order_mark(std::string_view text) {
    constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";
    if (text.starts_with(byte_order_mark)) text.remove_prefix(byte_order_mark.size());
    return text;
}

std::string content_text(const XmlText& token) { return collapse_whitespace(decode_xml_entities(token.text)); }

bool holds_only_white_space(std::string_view text) { return unicode::trim(text).empty(); }

bool ends_with_mark(const std::vector<Inline>& inlines) {
    return !inlines.empty() && std::holds_alternative<Inline::Monosim>(inlines.back().node);
}

void push_content_text(std::vector<Inline>& inlines, std::string text) {
    // Texts side by side are written as one: joining them here spares an
    // item of the tree per piece of text, which a long book holds many of.
    if (!inlines.empty()) {
        if (auto* last = std::get_if<Inline::Text>(&inlines.back().node)) {
            last->text += text;
            return;
        }
    }
    if (ends_with_mark(inlines) && !text.starts_with(' ')) text.insert(text.begin(), ' ');
    inlines.emplace_back(Inline::Text{std::move(text)});
}

void space_after_mark(std::vector<Inline>& inlines) {
    if (ends_with_mark(inlines)) inlines.emplace_back(Inline::Text{" "});
}

void push_word_break(std::vector<Inline>& inlines) {
    if (!inlines.empty()) {
        if (const auto* text = std::get_if<Inline::Text>(&inlines.back().node); text != nullptr && !text->text.empty()) {
            std::size_t end = text->text.size();
            if (unicode::is_whitespace(unicode::prev_char(text->text, end))) return;
        }
    }
    inlines.emplace_back(Inline::Text{" "});
}

Error token_error(const ImportContext& context, std::string_view before, const XmlToken& token,
                  std::string_view after) {
    std::string message(before);
    message += format_xml_token(token);
    message += after;
    return context.error(message);
}

Error unterminated_error(const ImportContext& context, std::string_view name) {
    std::string message = "unterminated <";
    message += name;
    message += '>';
    return context.error(message);
}

}  // namespace ilvex
