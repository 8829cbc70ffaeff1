// The top level of a TEI dictionary: its entries, with the paragraphs,
// headings and stray text between them, numbered and keyed.
#pragma once

#include <string_view>

#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"

namespace ilvex {

// Hands the blocks of `text` read as a dictionary to `sink`, one at a time:
// the header's titles, top-level paragraphs, heads as flat sections and
// entries, every other element transparent; front, back and standOff leave
// nothing. Homographs are numbered and references to entry identifiers
// rewritten to the entries' keys, which need every entry: a first walk over
// the text reads only the headwords, numbers and identifiers, a second
// converts and hands the blocks on. The sink has had the declaration; a
// failure is the import's error.
Status import_tei_dictionary(std::string_view text, ImportSink& sink);

}  // namespace ilvex
