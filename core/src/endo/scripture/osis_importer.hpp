// The OSIS importer: the book divisions of an OSIS text, with their
// chapters, paragraphs, titles, speakers and line groups, into a document
// of the standard dialektos il-usfm, the inline elements mapped onto its
// character styles.
#pragma once

#include <string_view>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"

namespace ilvex {

// Gives `sink` the declaration, then each book division in pieces: opened
// at its start tag, each block as soon as it is finished, closed at its end
// tag. Fails with the first error; a text without a book division fails
// with "no book div found".
Status import_osis(std::string_view text, ImportSink& sink);

// The whole imported tree, collected from the above.
Result<Document> import_osis(std::string_view text);

}  // namespace ilvex
