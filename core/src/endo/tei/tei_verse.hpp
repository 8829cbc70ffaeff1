// TEI verse: line groups, verse held in an ab, and epigraphs.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/tei/tei_context.hpp"

namespace ilvex {

struct TeiLineGroup {
    // The "~" verse block; nothing for a self-closing lg.
    std::optional<Block> stichoi;
    // The note bodies of its lines and head, for after the verse block.
    std::vector<Block> blocks;
    std::size_t next = 0;
};

// The line group whose content starts at `start`: one verse block whose
// lemma is the group's head, its own lines a strophe, each nested group's
// lines the next strophes (nested heads dropped with their notes). Fails
// with "unsupported <token> in <lg>" and "unterminated <lg>".
Result<TeiLineGroup> import_tei_line_group(TeiContext& context, std::size_t start);

// The line group whose start tag stands at `open`.
Result<TeiLineGroup> tei_element_line_group(TeiContext& context, std::size_t open);

struct TeiAbVerse {
    std::vector<Strophe> strophes;
    std::vector<Block> blocks;
    std::size_t next = 0;
};

// The lines of an ab holding verse, from `start` to its end tag: each lg a
// strophe, note callouts on the last line. Fails with "unsupported <token>
// in an <ab> verse" and "unterminated <ab>".
Result<TeiAbVerse> import_tei_ab_verse(TeiContext& context, std::size_t start);

// The "\"/" epigraph from `start` to its end tag, its bibl the attribution.
// Fails with "unsupported <token> in <epigraph>" and "unterminated
// <epigraph>".
Result<TeiBlock> import_tei_epigraph(TeiContext& context, std::size_t start);

}  // namespace ilvex
