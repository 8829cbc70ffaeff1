// The HTML importer: a clean subset of HTML (headings, paragraphs, lists,
// block quotations, divisions, verse divisions, preformatted text, images;
// em, strong, span, a, code and, in verse, br) into a document of the
// standard dialektos il-html. Whatever lies outside the subset is refused
// with a message, not guessed at: this reads documents written for it, not
// arbitrary web pages.
#pragma once

#include <string_view>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"

namespace ilvex {

// Gives `sink` the declaration, then each top-level block as soon as it is
// read. Errors read "html import: ..." (kind Other).
Status import_html(std::string_view text, ImportSink& sink);

// The whole imported tree, collected from the above.
Result<Document> import_html(std::string_view text);

}  // namespace ilvex
