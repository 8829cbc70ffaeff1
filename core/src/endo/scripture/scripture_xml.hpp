// What the XML scripture importers (USX, OSIS) share while they walk their
// tokens: the text of a `Text` token as it enters the tree, the space that
// keeps a verse mark apart from what follows it, and the messages that
// quote a token.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "endo/import_context.hpp"
#include "endo/xml/token_window.hpp"
#include "endo/xml/xml_token.hpp"

namespace ilvex {

// The tokens an import walks, read as far as a converter asks, and its
// context (error constructor, nesting).
struct TokenWalk {
    TokenWindow& tokens;
    ImportContext& context;
};

// The inlines an element's converter built, and the index just after the
// element's `Close`.
struct ConvertedInlines {
    std::vector<Inline> inlines;
    std::size_t next;
};

// The text without the byte order mark that an XML file saved with one
// begins with: it is no content, and not white space either.
std::string_view without_byte_order_mark(std::string_view text);

// The text of a `Text` token: entities decoded, white space runs collapsed.
std::string content_text(const XmlText& token);

// Whether a raw text holds nothing but white space.
bool holds_only_white_space(std::string_view text);

// Whether the last inline is a chapter or verse mark.
bool ends_with_mark(const std::vector<Inline>& inlines);

// Appends a text, after a space when it follows a mark directly and does not
// begin with one; a text right after another joins it.
void push_content_text(std::vector<Inline>& inlines, std::string text);

// Appends a space when the last inline is a mark, so that an element
// following a verse mark does not stick to it.
void space_after_mark(std::vector<Inline>& inlines);

// Appends a space unless the inlines end with a text ending in white space:
// a line break between two words keeps them apart.
void push_word_break(std::vector<Inline>& inlines);

// The error "{before}{debug text of token}{after}".
Error token_error(const ImportContext& context, std::string_view before, const XmlToken& token,
                  std::string_view after);

// The error "unterminated <{name}>".
Error unterminated_error(const ImportContext& context, std::string_view name);

}  // namespace ilvex
