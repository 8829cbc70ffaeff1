// What the converters of one JATS import share: the window of tokens they
// walk by index, the nesting bound and error constructor, and the one note
// counter of the document.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "dialektos/result.hpp"
#include "endo/import_context.hpp"
#include "endo/jats/token_window.hpp"
#include "endo/xml/xml_token.hpp"

namespace ilvex {

struct JatsWalk {
    explicit JatsWalk(std::string_view text);

    TokenWindow tokens;
    ImportContext context;
    // Notes are numbered in document order across title, abstract and body,
    // so their names never repeat.
    std::size_t notes = 0;

    Error error(std::string_view message) const { return context.error(message); }
};

// `text` with its white space runs collapsed to single spaces and trimmed:
// a value that stands on one line of its own.
std::string one_line(std::string_view text);

// "unsupported <debug text of the token><where>".
std::string unsupported(const XmlToken& token, std::string_view where);

// "unterminated <name>".
std::string unterminated(std::string_view name);

}  // namespace ilvex
