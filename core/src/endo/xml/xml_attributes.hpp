// The attribute list of a start tag.
#pragma once

#include <string_view>
#include <vector>

#include "dialektos/result.hpp"
#include "endo/xml/xml_token.hpp"

namespace ilvex {

// Parses the part of a tag after its name: `name="value"`, `name='value'` or
// a bare `name` (empty value), separated by optional white space
// ("a="1"b="2"" is two attributes). Names are ASCII-lower-cased, values
// entity-decoded; a pair with an empty name ("=x") is dropped. An unquoted
// or unterminated value fails with an "html import: " error whichever
// importer asked.
Result<std::vector<XmlAttribute>> parse_tag_attributes(std::string_view text);

}  // namespace ilvex
