// The USX importer: the XML form of USFM (books, chapters, paragraphs of a
// style, with verses, character spans and notes inside them) into a
// document of the standard dialektos il-usfm. Every block lies inside the
// "#" division of the book named by the nearest book element before it.
#pragma once

#include <string_view>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"

namespace ilvex {

// Gives `sink` the declaration, then each book division in pieces: opened
// at its book element, each block as soon as it is finished, closed at the
// next book element or the end of the text. Fails with the first error; a
// text without a book element fails with "missing <book code>".
Status import_usx(std::string_view text, ImportSink& sink);

// The whole imported tree, collected from the above.
Result<Document> import_usx(std::string_view text);

}  // namespace ilvex
