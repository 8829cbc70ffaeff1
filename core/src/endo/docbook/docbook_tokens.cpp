#include "endo/docbook/docbook_tokens.hpp"

#include <utility>

#include "endo/import_errors.hpp"
#include "endo/xml/xml_entities.hpp"

namespace ilvex {

std::string joined(std::initializer_list<std::string_view> pieces) {
    std::string out;
    for (const std::string_view piece : pieces) out += piece;
    return out;
}

Result<XmlToken> DocbookTokens::next_inside(std::string_view name, ImportErrorConstructor make_error) {
    Result<std::optional<XmlToken>> token = reader_.next();
    if (!token) return std::move(token).error();
    if (!token->has_value()) return make_error(joined({"unterminated <", name, ">"}));
    return std::move(**token);
}

Status DocbookTokens::skip(std::string_view name) {
    std::size_t depth = 1;
    while (true) {
        Result<XmlToken> token = next_inside(name, tei_import_error);
        if (!token) return std::move(token).error();
        if (const auto* open = std::get_if<XmlOpen>(&*token)) {
            if (!open->self_closing && open->name == name) ++depth;
        } else if (const auto* close = std::get_if<XmlClose>(&*token)) {
            if (close->name == name && --depth == 0) return {};
        }
    }
}

Result<std::string> DocbookTokens::text_only(std::string_view name) {
    std::string text;
    while (true) {
        Result<XmlToken> token = next_inside(name, docbook_import_error);
        if (!token) return std::move(token).error();
        if (const auto* piece = std::get_if<XmlText>(&*token)) {
            text += decode_xml_entities(piece->text);
            continue;
        }
        const auto* close = std::get_if<XmlClose>(&*token);
        if (close == nullptr || close->name != name) {
            return docbook_import_error(joined({"unsupported ", format_xml_token(*token), " in <", name, ">"}));
        }
        const std::size_t first = text.find_first_not_of('\n');
        if (first == std::string::npos) return std::string();
        const std::size_t last = text.find_last_not_of('\n');
        text.erase(last + 1);
        text.erase(0, first);
        return text;
    }
}

Error DocbookTokens::first_error(Error failure) {
    while (true) {
        Result<std::optional<XmlToken>> token = reader_.next();
        if (!token) return std::move(token).error();
        if (!token->has_value()) return failure;
    }
}

}  // namespace ilvex
