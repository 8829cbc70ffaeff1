#include "endo/jats/jats_walk.hpp"

#include "dialektos/unicode.hpp"
#include "endo/import_errors.hpp"
#include "endo/whitespace.hpp"

namespace ilvex {

JatsWalk::JatsWalk(const std::vector<XmlToken>& tokens)
    : tokens(tokens), closes(tokens), context(jats_import_error) {}

Result<ElementText> jats_text_only(const JatsWalk& walk, std::size_t start, const XmlOpen& open) {
    if (open.self_closing) return ElementText{std::string(), start};
    return element_text_only(walk.tokens, start, open.name);
}

std::string one_line(std::string_view text) {
    return std::string(unicode::trim(collapse_whitespace(text)));
}

std::string unsupported(const XmlToken& token, std::string_view where) {
    std::string message = "unsupported ";
    message += format_xml_token(token);
    message += where;
    return message;
}

std::string unterminated(std::string_view name) {
    std::string message = "unterminated <";
    message += name;
    message += '>';
    return message;
}

}  // namespace ilvex
