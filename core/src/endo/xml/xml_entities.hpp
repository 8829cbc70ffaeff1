// Entity decoding of XML text and attribute values.
#pragma once

#include <string>
#include <string_view>

namespace ilvex {

// Replaces, in one left-to-right pass, the predefined entities "&lt;",
// "&gt;", "&amp;", "&quot;", "&apos;" and the character references "&#233;"
// and "&#xE9;" that name a Unicode scalar value other than NUL. Everything
// else (named HTML entities, malformed or out-of-range references) stays as
// written, and replaced text is not scanned again: "&amp;lt;" gives "&lt;".
std::string decode_xml_entities(std::string_view text);

}  // namespace ilvex
