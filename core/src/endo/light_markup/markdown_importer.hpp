// The Markdown importer: a small, line-oriented subset of Markdown (fenced
// code, ATX headings, block quotes, "- " and numbered items, footnotes,
// image lines, paragraphs; stars, code spans, links, autolinks, footnote
// references and backslash escapes inside text) into a document of the
// standard dialektos il-markdown. Headings do not enclose what follows and
// list items are siblings with no list around them.
#pragma once

#include <string_view>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"

namespace ilvex {

// Gives `sink` the declaration, then each top-level block as soon as it is
// read. Fails only when the sink refuses the declaration: whatever the text,
// malformed constructs read as text. Quotes and items nested deeper than 256
// levels read as text too.
Status import_markdown(std::string_view text, ImportSink& sink);

// The whole imported tree, collected from the above.
Document import_markdown(std::string_view text);

}  // namespace ilvex
