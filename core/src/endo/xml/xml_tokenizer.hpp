// Splits XML-like text into a flat list of tags and text. Not a conforming
// parser: it keeps no element stack and does not check that tags match (the
// converters that walk the tokens decide), decodes no entities in text, and
// ends a tag at its first ">" whatever the quotes. Comments and declarations
// are dropped with their content. Every search moves forward from the
// current position, so the work is linear in the input.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "dialektos/result.hpp"
#include "endo/xml/xml_token.hpp"

namespace ilvex {

// XML mode: names keep their case; "<?...>" processing instructions (to
// their first ">") and "<!...>" declarations with their internal subset
// "[...]>" are dropped; a CDATA section becomes a Text token escaped so that
// decode_xml_entities gives back exactly its content. Errors: "tei import: " + "unterminated
// comment", "unterminated declaration", "unterminated tag" or "empty tag"
// (kind MissingResource), or an attribute error of parse_tag_attributes.
Result<std::vector<XmlToken>> tokenize_xml(std::string_view text);

// HTML mode: tag names ASCII-lower-cased; "<?" opens an ordinary tag; a
// "<!...>" declaration, a CDATA section included, ends at its first ">".
// Errors as in XML mode, but "html import: " and kind Other.
Result<std::vector<XmlToken>> tokenize_html(std::string_view text);

// The tokens one at a time, for a converter that holds only those it still
// needs rather than the whole list.
class XmlTokenReader {
public:
    // The tokens of tokenize_xml, or of tokenize_html.
    static XmlTokenReader xml(std::string_view text) { return XmlTokenReader(text, false); }
    static XmlTokenReader html(std::string_view text) { return XmlTokenReader(text, true); }

    // The next token, nothing after the last one, or the error the whole
    // list gives; after an error, the same error again.
    Result<std::optional<XmlToken>> next();

private:
    XmlTokenReader(std::string_view text, bool html) : rest_(text), html_(html) {}

    std::string_view rest_;
    bool html_;
};

}  // namespace ilvex
