// The DocBook importer: the roots book, article and chapter, their titles
// and info, nested sections (section, sect1), paragraphs, admonitions,
// block quotations, lists, footnotes and program listings, with emphasis,
// quotations, links, code and footnotes inside text, into a document of the
// standard dialektos il-docbook.
#pragma once

#include <string_view>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"

namespace ilvex {

// Gives `sink` the declaration, then the blocks of each root as they are
// read: each element at the top of a root as soon as it is converted. A
// failure ("docbook import: ...", or an error of the shared XML layer) makes
// the blocks given so far void.
Status import_docbook(std::string_view text, ImportSink& sink);

// The whole imported tree, collected from the above.
Result<Document> import_docbook(std::string_view text);

}  // namespace ilvex
