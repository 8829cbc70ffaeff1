// The content of OSIS paragraphs, titles, lines and notes: text, verse
// marks, the inline elements mapped onto the character styles of il-usfm,
// notes, and the line groups of poetry.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialektos/result.hpp"
#include "endo/scripture/scripture_xml.hpp"

namespace ilvex {

// The number of a chapter or verse element: its n, else the part after the
// last "." of its osisID, else of its sID; nothing without any of them.
std::optional<std::string> osis_number(const std::vector<XmlAttribute>& attrs);

// The inlines of element `element` whose content starts at `start`, and the
// index after its `Close`.
Result<ConvertedInlines> import_osis_inlines(const TokenWalk& walk, std::size_t start, std::string_view element);

// The inlines of a note whose content starts at `start`; its references are
// cross-reference origins ("xo") when `cross_reference`, else footnote
// references ("fr").
Result<ConvertedInlines> import_osis_note(const TokenWalk& walk, std::size_t start, bool cross_reference);

struct ConvertedStrophes {
    std::vector<Strophe> strophes;
    std::size_t next;  // the index after the group's `Close`
};

// The strophes of a line group whose content starts at `start`: the lines
// directly inside it make one, and each nested group strophes of its own.
Result<ConvertedStrophes> import_osis_line_group(const TokenWalk& walk, std::size_t start);

}  // namespace ilvex
