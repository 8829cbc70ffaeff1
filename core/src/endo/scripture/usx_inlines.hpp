// The content of USX paragraphs and notes: text, verse marks, character
// spans, notes, references and optional breaks, as the inlines of il-usfm.
#pragma once

#include <cstddef>
#include <string_view>

#include "dialektos/result.hpp"
#include "endo/scripture/scripture_xml.hpp"

namespace ilvex {

// The inlines of element `element` (a para, char, ref or optbreak) whose
// content starts at `start`, and the index after its `Close`.
Result<ConvertedInlines> import_usx_inlines(const TokenWalk& walk, std::size_t start, std::string_view element);

// The inlines of a note whose content starts at `start`.
Result<ConvertedInlines> import_usx_note(const TokenWalk& walk, std::size_t start);

}  // namespace ilvex
