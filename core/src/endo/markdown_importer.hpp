// The Markdown importer: a small, line-oriented subset of Markdown (fenced
// code, ATX headings, block quotes, "- " and numbered items, footnotes,
// image lines, paragraphs; stars, code spans, links, autolinks, footnote
// references and backslash escapes inside text) into a document of the
// standard dialektos il-markdown. Headings do not enclose what follows and
// list items are siblings with no list around them.
#pragma once

#include <string_view>

#include "dendron/document.hpp"

namespace ilvex {

// Never fails: whatever the text, malformed constructs read as text. Quotes
// and items nested deeper than 256 levels read as text too.
Document import_markdown(std::string_view text);

}  // namespace ilvex
