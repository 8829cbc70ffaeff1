// What the converters of one JATS import share: the token list they walk by
// index, the index of matching end tags, the nesting bound and error
// constructor, and the one note counter of the document.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dialektos/result.hpp"
#include "endo/import_context.hpp"
#include "endo/xml/xml_token.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {

struct JatsWalk {
    explicit JatsWalk(const std::vector<XmlToken>& tokens);

    const std::vector<XmlToken>& tokens;
    MatchingCloses closes;
    ImportContext context;
    // Notes are numbered in document order across title, abstract and body,
    // so their names never repeat.
    std::size_t notes = 0;

    Error error(std::string_view message) const { return context.error(message); }
};

// The text of the element whose start tag `open` stands just before
// `start`, which may hold text only: empty for a self-closing tag, which has
// no content to read on to. Fails as element_text_only does.
Result<ElementText> jats_text_only(const JatsWalk& walk, std::size_t start, const XmlOpen& open);

// `text` with its white space runs collapsed to single spaces and trimmed:
// a value that stands on one line of its own.
std::string one_line(std::string_view text);

// "unsupported <debug text of the token><where>".
std::string unsupported(const XmlToken& token, std::string_view where);

// "unterminated <name>".
std::string unterminated(std::string_view name);

}  // namespace ilvex
