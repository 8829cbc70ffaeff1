#include "endo/jats/jats_walk.hpp"

#include "dialektos/unicode.hpp"
#include "endo/import_errors.hpp"
#include "endo/whitespace.hpp"

namespace ilvex {

JatsWalk::JatsWalk(std::string_view text) : tokens(text), context(jats_import_error) {}

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
