// The TEI importer: a TEI text (P5, or P4 with the root "TEI.2") as a
// litogramma document, or, when it holds dictionary entries, as a
// lexigramma document.
#pragma once

#include <string_view>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"

namespace ilvex {

// Hands the imported document to `sink`: its declaration, then its
// top-level blocks as they are read (a prose division under a heading in
// pieces). A failed import may have handed some blocks before its error.
Status import_tei(std::string_view text, ImportSink& sink);

// The imported document whole.
Result<Document> import_tei(std::string_view text);

}  // namespace ilvex
