// The JATS importer: a journal article (front matter title, contributors
// and abstract; body paragraphs, sections and display quotations with bold,
// italic, monospace, external links, bibliographic cross-references and
// footnotes; the back matter's reference list) into a document of the
// standard dialektos litogramma.
#pragma once

#include <string_view>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"

namespace ilvex {

// Gives `sink` the declaration, then the top-level blocks in order: the
// front matter's, the body's, and last the reference list when there are
// references. The first error ends the import; its blocks are then no
// document.
Status import_jats(std::string_view text, ImportSink& sink);

// The whole imported tree, collected from the above.
Result<Document> import_jats(std::string_view text);

}  // namespace ilvex
