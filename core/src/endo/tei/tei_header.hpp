// The TEI header: its titles, authors and editors as the document's title
// paragraphs; everything else it describes leaves nothing.
#pragma once

#include <cstddef>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/tei/tei_context.hpp"

namespace ilvex {

// Appends the header's paragraphs to `blocks` in document order and gives
// the index after the first "teiHeader" end tag from `start` (the token
// after the start tag) on. Fails with "unterminated <teiHeader>".
Result<std::size_t> import_tei_header(TeiContext& context, std::size_t start, std::vector<Block>& blocks);

}  // namespace ilvex
