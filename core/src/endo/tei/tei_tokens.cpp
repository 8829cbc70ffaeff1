#include "endo/tei/tei_tokens.hpp"

#include "dialektos/unicode.hpp"
#include "endo/whitespace.hpp"
#include "endo/xml/xml_entities.hpp"

namespace ilvex {

bool is_blank_text(const XmlToken& token) {
    const auto* piece = std::get_if<XmlText>(&token);
    return piece != nullptr && unicode::trim(piece->text).empty();
}

std::size_t skip_blank_texts(TeiTokens& tokens, std::size_t index) {
    while (tokens.has(index) && is_blank_text(tokens[index])) ++index;
    return index;
}

std::size_t after_own_close(TeiTokens& tokens, std::size_t open) {
    const XmlOpen& tag = std::get<XmlOpen>(tokens[open]);
    if (tag.self_closing || !tokens.has(open + 1)) return open + 1;
    const auto* close = std::get_if<XmlClose>(&tokens[open + 1]);
    return close != nullptr && close->name == tag.name ? open + 2 : open + 1;
}

Result<std::size_t> after_element(TeiTokens& tokens, std::size_t open) {
    const XmlOpen& tag = std::get<XmlOpen>(tokens[open]);
    if (tag.self_closing) return open + 1;
    return tokens.skip(open + 1, tag.name);
}

std::string tei_text(std::string_view raw) { return collapse_whitespace(decode_xml_entities(raw)); }

}  // namespace ilvex
