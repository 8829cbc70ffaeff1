// The inline converter of the Org importer.
#pragma once

#include <string_view>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

// The inlines of one text: "*" bold, "/" italic, "_" underline and "+"
// strike spans and "=" verbatim and "~" code literals under the flanking
// rules, links "[[target]]" and "[[target][description]]", and footnote
// references "[fn:label]". Everything else, an unclosed construct included,
// is text; there are no escapes.
std::vector<Inline> org_inlines(std::string_view text);

}  // namespace ilvex
