// The top level of a TEI dictionary: its entries, with the paragraphs,
// headings and stray text between them, numbered and keyed.
#pragma once

#include <vector>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/tei/tei_context.hpp"

namespace ilvex {

// The blocks of the whole token list read as a dictionary: the header's
// titles, top-level paragraphs, heads as flat sections and entries, every
// other element transparent; front, back and standOff leave nothing.
// Homographs are numbered and references to entry identifiers rewritten
// to the entries' keys.
Result<std::vector<Block>> import_tei_dictionary(TeiContext& context);

}  // namespace ilvex
