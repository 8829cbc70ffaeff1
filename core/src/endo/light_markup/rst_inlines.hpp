// The inline converter of the reStructuredText importer.
#pragma once

#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/import_context.hpp"

namespace ilvex {

// The inlines of one text (a title, a term, a field, or a paragraph's lines
// joined by spaces): backslash escapes of ASCII punctuation, "``" literals,
// hyperlink references with an embedded URI ("`text <uri>`_"), "**" and "*"
// spans and footnote references "[#label]_". Everything else, an unclosed
// construct included, is text. Fails only on a footnote label that cannot
// be written as an onym.
Result<std::vector<Inline>> rst_inlines(std::string_view text, const ImportContext& context);

}  // namespace ilvex
