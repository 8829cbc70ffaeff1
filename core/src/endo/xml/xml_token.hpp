// The tokens of XML-like input: start tags, end tags and the text between
// them, as the XML and HTML tokenizers produce them and the importers' converters
// walk them by index.
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace ilvex {

// Name ASCII-lower-cased; value without its quotes and entity-decoded, empty
// for an attribute written without "=".
struct XmlAttribute {
    std::string name;
    std::string value;

    bool operator==(const XmlAttribute&) const = default;
};

// A start tag, or an empty-element tag when `self_closing` ("<br/>"), which
// stands for a whole element. Attributes in source order, duplicates kept.
struct XmlOpen {
    std::string name;
    std::vector<XmlAttribute> attrs;
    bool self_closing = false;

    bool operator==(const XmlOpen&) const = default;
};

// An end tag; the name may be empty ("</>").
struct XmlClose {
    std::string name;

    bool operator==(const XmlClose&) const = default;
};

// Raw text between two markup constructs: never empty, white space kept,
// entities not decoded (converters decode it with decode_xml_entities).
struct XmlText {
    std::string text;

    bool operator==(const XmlText&) const = default;
};

using XmlToken = std::variant<XmlOpen, XmlClose, XmlText>;

// The one-line debug text of a token, quoted in importer messages:
// `Open { name: "p", attrs: [("rend", "it")], self_closing: false }`,
// `Close("p")`, `Text("\n  ")`.
std::string format_xml_token(const XmlToken& token);

}  // namespace ilvex
