#include "endo/xml/xml_attributes.hpp"

#include <string>

#include "dialektos/unicode.hpp"
#include "endo/import_errors.hpp"
#include "endo/xml/xml_entities.hpp"

namespace ilvex {
namespace {

// Byte length of the leading run of `text` that holds neither white space
// nor "=".
std::size_t name_length(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] != '=') {
        std::size_t next = i;
        if (unicode::is_whitespace(unicode::next_char(text, next))) break;
        i = next;
    }
    return i;
}

std::string in_backticks(std::string_view name) {
    std::string out = "`";
    out += name;
    out += '`';
    return out;
}

}  // namespace

Result<std::vector<XmlAttribute>> parse_tag_attributes(std::string_view text) {
    std::vector<XmlAttribute> attrs;
    std::string_view rest = unicode::trim(text);
    while (!rest.empty()) {
        const std::size_t length = name_length(rest);
        std::string name = unicode::ascii_lowercase(rest.substr(0, length));
        rest = unicode::trim_start(rest.substr(length));
        std::string value;
        if (rest.starts_with('=')) {
            rest = unicode::trim_start(rest.substr(1));
            if (rest.empty() || (rest[0] != '"' && rest[0] != '\'')) {
                return html_import_error("unquoted attribute value after " + in_backticks(name));
            }
            const std::size_t close = rest.find(rest[0], 1);
            if (close == std::string_view::npos) {
                return html_import_error("unterminated attribute " + in_backticks(name));
            }
            value = decode_xml_entities(rest.substr(1, close - 1));
            rest = unicode::trim_start(rest.substr(close + 1));
        }
        if (!name.empty()) attrs.push_back({std::move(name), std::move(value)});
    }
    return attrs;
}

}  // namespace ilvex
