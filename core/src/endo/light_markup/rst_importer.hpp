// The reStructuredText importer: a line-oriented subset of reStructuredText
// (underlined section titles, the note, warning and image directives,
// "[#label]" footnotes, one-line field list entries, "- " and "N. " items,
// terms with indented definitions, "::" literal blocks, indented block
// quotes, paragraphs; escapes, "``" literals, hyperlink references with an
// embedded URI, "**" and "*" spans and footnote references inside text)
// into a document of the standard dialektos il-rst. Titles do not enclose
// what follows and list items are siblings with no list around them.
#pragma once

#include <string_view>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"

namespace ilvex {

// Gives `sink` the declaration, then each top-level block as soon as it is
// read. Fails ("rst import: ...") on a directive other than those above, on
// a footnote line without "] " after its label, on a footnote label that is
// no onym, and on bodies nested deeper than 256 levels.
Status import_rst(std::string_view text, ImportSink& sink);

// The whole imported tree, collected from the above.
Result<Document> import_rst(std::string_view text);

}  // namespace ilvex
