// The USFM importer: books ("\id"), chapters, verses, paragraphs and their
// styles, headings and poetry, with the character and note markup inside
// the text, into a document of the standard dialektos il-usfm. Every block
// lies inside the "#" division of the book named by the nearest "\id" line
// before it; paragraph text flows across verses, and poetry lines gather
// into "~" blocks.
#pragma once

#include <string_view>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"

namespace ilvex {

// Gives `sink` the declaration, then each book division in pieces: opened
// at its "\id" line, each of its blocks as soon as it is finished, closed
// at the next "\id" line or the end of the text. Fails with the first
// error; a text without any "\id" line fails with "missing \id".
Status import_usfm(std::string_view text, ImportSink& sink);

// The whole imported tree, collected from the above.
Result<Document> import_usfm(std::string_view text);

}  // namespace ilvex
