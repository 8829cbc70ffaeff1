// Helpers of the XML converters that walk a token list by index: passing
// over a whole element, taking the text of an element, looking up an
// attribute. Every walker starts at the token after an element's `Open` and
// answers with the index just after the `Close` that ends the element.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialektos/result.hpp"
#include "endo/import_errors.hpp"
#include "endo/whitespace.hpp"
#include "endo/xml/xml_entities.hpp"
#include "endo/xml/xml_token.hpp"

namespace ilvex {

struct ElementText {
    std::string text;
    std::size_t next;  // the index just after the element's `Close`
};

// The text of element `name`, which may hold text only: its `Text` tokens
// entity-decoded and joined, line feeds (only those) removed at both ends.
// Any other token than the element's `Close` fails with "docbook import:
// unsupported <token debug text> in <name>"; no end fails with "docbook
// import: unterminated <name>", whichever importer asks.
Result<ElementText> element_text_only(const std::vector<XmlToken>& tokens, std::size_t start,
                                      std::string_view name);

// The walks below read tokens by index through `at`, which gives a pointer
// to the token at an index, or null past the last one, so that a converter
// can read its tokens as it goes.

// The index just after the `Close` that ends the element `name` whose
// content starts at `start`: from there a counter starting at 1 counts the
// non-self-closing `Open`s of that name up and its `Close`s down. No such
// `Close` fails with "tei import: unterminated <name>", whichever importer
// asks.
template <class At>
Result<std::size_t> skip_element_at(At&& at, std::size_t start, std::string_view name);

// The text of element `name` and all its descendants: every `Text` token
// entity-decoded, joined, and white space runs collapsed (not trimmed). The
// element ends at a `Close` of its name met outside every nested element;
// any `Open` nests, whatever its name, and a stray `Close` at the outer
// level is passed over. No end fails with "tei import: unterminated <name>".
template <class At>
Result<ElementText> element_plain_text_at(At&& at, std::size_t start, std::string_view name);

// The value of the first attribute named exactly `name`. Stored names are
// ASCII-lower-cased, so callers ask for "xml:id", never "xml:ID".
std::optional<std::string_view> attribute_value(const std::vector<XmlAttribute>& attrs,
                                                std::string_view name);

namespace xml_walk_detail {

inline Error unterminated(Error (*make_error)(std::string_view), std::string_view name) {
    std::string message = "unterminated <";
    message += name;
    message += '>';
    return make_error(message);
}

inline bool opens_element(const XmlToken& token, std::string_view name) {
    const auto* open = std::get_if<XmlOpen>(&token);
    return open != nullptr && !open->self_closing && open->name == name;
}

inline bool closes_element(const XmlToken& token, std::string_view name) {
    const auto* close = std::get_if<XmlClose>(&token);
    return close != nullptr && close->name == name;
}

}  // namespace xml_walk_detail

template <class At>
Result<std::size_t> skip_element_at(At&& at, std::size_t start, std::string_view name) {
    std::size_t depth = 1;
    for (std::size_t i = start;; ++i) {
        const XmlToken* token = at(i);
        if (token == nullptr) break;
        if (xml_walk_detail::opens_element(*token, name)) {
            ++depth;
        } else if (xml_walk_detail::closes_element(*token, name) && --depth == 0) {
            return i + 1;
        }
    }
    return xml_walk_detail::unterminated(tei_import_error, name);
}

template <class At>
Result<ElementText> element_plain_text_at(At&& at, std::size_t start, std::string_view name) {
    std::string text;
    std::size_t depth = 0;
    for (std::size_t i = start;; ++i) {
        const XmlToken* token = at(i);
        if (token == nullptr) break;
        if (const auto* open = std::get_if<XmlOpen>(token)) {
            if (!open->self_closing) ++depth;
        } else if (const auto* close = std::get_if<XmlClose>(token)) {
            if (depth == 0 && close->name == name) {
                return ElementText{collapse_whitespace(text), i + 1};
            }
            if (depth > 0) --depth;
        } else {
            text += decode_xml_entities(std::get<XmlText>(*token).text);
        }
    }
    return xml_walk_detail::unterminated(tei_import_error, name);
}

}  // namespace ilvex
