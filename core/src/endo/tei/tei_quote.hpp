// Verse held in a TEI quotation inside running text: its lines, line
// groups and speeches flattened into one run, lines separated by " / ".
#pragma once

#include <cstddef>

#include "dialektos/result.hpp"
#include "endo/tei/tei_context.hpp"

namespace ilvex {

// The run of the verse quotation whose content starts at `start`, up to the
// first end tag of quote (nested quotations read by their own call). Fails
// with "unsupported <token> in a verse quote" and "unterminated verse
// <quote>". Notes inside are dropped unread.
Result<TeiInlines> import_tei_quote(TeiContext& context, std::size_t start);

}  // namespace ilvex
