// TEI milestone elements (pages, sections, Bekker lines, Perseus cards) as
// milestone inlines: the scheme comes from the edition or the unit, the
// value is the element's n reduced to an identifier.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "endo/xml/xml_token.hpp"

namespace ilvex {

// Appends one character to `out` per character of `text`: letters, digits
// (any script) and "-", ".", ":", "_" as they are, everything else as "-".
void slugify(std::string_view text, std::string& out);

// The milestone for an n value (as written) and the element's attributes,
// or nothing when the value reduces to no valid milestone value. The scheme
// and unit genos are always valid genoses: an unusable edition or unit
// counts as absent.
std::optional<Inline> import_tei_milestone(std::string_view n, const std::vector<XmlAttribute>& attrs);

// The milestone of a `milestone` start tag: import_tei_milestone of its first
// n attribute when that has at most 24 characters once trimmed; nothing for
// a missing or longer n, or when no milestone is made.
std::optional<Inline> tei_milestone_element(const XmlOpen& open);

}  // namespace ilvex
