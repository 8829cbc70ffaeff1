// The djot importer: a small, line-oriented subset of djot (ATX headings,
// "```" fences, "> " quotes read as djot texts of their own, one-line "- "
// and numbered items, paragraphs; "*" strong, "_" emphasis, code spans,
// links, autolinks and backslash escapes inside text) into a document of
// the standard dialektos il-djot. Footnotes, attributes, divs, tables,
// definition lists, nested lists and item continuations read as text.
#pragma once

#include <string_view>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"

namespace ilvex {

// Gives `sink` the declaration, then each top-level block as soon as it is
// read. Fails with "djot import: unterminated code fence" (also for a fence
// a quote does not close) and with "djot import: nesting deeper than 256
// levels" for quotes nested deeper.
Status import_djot(std::string_view text, ImportSink& sink);

// The whole imported tree, collected from the above.
Result<Document> import_djot(std::string_view text);

}  // namespace ilvex
