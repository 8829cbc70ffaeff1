// The Org importer: a line-oriented subset of Org (headings of one to five
// stars, the title keyword, SRC, EXAMPLE, QUOTE and VERSE blocks, pipe
// tables, footnote definitions, "- " and description items, numbered items,
// paragraphs; the emphasis family, verbatim and code, bracket links and
// footnote references inside text) into a document of the standard
// dialektos il-org. Headings do not enclose what follows and list items are
// siblings with no list around them.
#pragma once

#include <string_view>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"

namespace ilvex {

// Gives `sink` the declaration, then each top-level block as soon as it is
// read. Fails ("org import: ...") on a block of another kind than SRC,
// EXAMPLE, QUOTE and VERSE, on an end line without its block, on a block
// without its end line, and on quotes nested deeper than 256 levels.
Status import_org(std::string_view text, ImportSink& sink);

// The whole imported tree, collected from the above.
Result<Document> import_org(std::string_view text);

}  // namespace ilvex
