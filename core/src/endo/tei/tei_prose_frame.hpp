// The top level of a TEI prose, drama or verse text: the header's titles,
// the front matter's title page, epigraph and argument, and the body.
#pragma once

#include <vector>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/tei/tei_context.hpp"

namespace ilvex {

// The blocks of the whole token list read as a prose text, milestones
// normalized. Back matter and standOff leave nothing; a stray text or an
// element the top level does not hold fails with "unexpected <token> at
// document level".
Result<std::vector<Block>> import_tei_prose(TeiContext& context);

}  // namespace ilvex
