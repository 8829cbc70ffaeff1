// The top level of a TEI prose, drama or verse text: the header's titles,
// the front matter's title page, epigraph and argument, and the body.
#pragma once

#include <string_view>

#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"

namespace ilvex {

// Hands the blocks of `text` read as a prose text to `sink` as they are
// read, milestones normalized. Back matter and standOff leave nothing; a
// stray text or an element the top level does not hold fails with
// "unexpected <token> at document level". The sink has had the
// declaration; a failure is the import's error.
Status import_tei_prose(std::string_view text, ImportSink& sink);

}  // namespace ilvex
