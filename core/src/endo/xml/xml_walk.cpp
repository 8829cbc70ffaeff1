#include "endo/xml/xml_walk.hpp"

#include <utility>

#include "endo/import_errors.hpp"
#include "endo/whitespace.hpp"
#include "endo/xml/xml_entities.hpp"

namespace ilvex {
namespace {

using xml_walk_detail::closes_element;
using xml_walk_detail::unterminated;

}  // namespace

Result<ElementText> element_text_only(const std::vector<XmlToken>& tokens, std::size_t start,
                                      std::string_view name) {
    std::string text;
    for (std::size_t i = start; i < tokens.size(); ++i) {
        const XmlToken& token = tokens[i];
        if (const auto* piece = std::get_if<XmlText>(&token)) {
            text += decode_xml_entities(piece->text);
            continue;
        }
        if (!closes_element(token, name)) {
            std::string message = "unsupported ";
            message += format_xml_token(token);
            message += " in <";
            message += name;
            message += '>';
            return docbook_import_error(message);
        }
        const std::size_t first = text.find_first_not_of('\n');
        if (first == std::string::npos) return ElementText{std::string(), i + 1};
        const std::size_t last = text.find_last_not_of('\n');
        return ElementText{text.substr(first, last - first + 1), i + 1};
    }
    return unterminated(docbook_import_error, name);
}

std::optional<std::string_view> attribute_value(const std::vector<XmlAttribute>& attrs,
                                                std::string_view name) {
    for (const XmlAttribute& attr : attrs) {
        if (attr.name == name) return std::string_view(attr.value);
    }
    return std::nullopt;
}

}  // namespace ilvex
