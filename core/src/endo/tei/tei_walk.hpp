// Small steps of the dictionary and frame converters' walk over the token
// list.
#pragma once

#include <cstddef>
#include <string_view>
#include <variant>

#include "dialektos/result.hpp"
#include "endo/tei/tei_context.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex::tei_walk {

inline bool is_close(const XmlToken& token, std::string_view name) {
    const auto* close = std::get_if<XmlClose>(&token);
    return close != nullptr && close->name == name;
}

// The plain text of the element whose start tag `open` stands at `index`;
// a self-closing tag is an empty element.
inline Result<ElementText> plain_text_at(const TeiContext& context, std::size_t index, const XmlOpen& open) {
    if (open.self_closing) return ElementText{"", index + 1};
    return context.tokens.plain_text(index + 1, open.name);
}

}  // namespace ilvex::tei_walk
