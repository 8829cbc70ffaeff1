// The converters of JATS running content: block content (paragraphs,
// titles, sections, display quotations) and the inline content of
// paragraphs and titles (bold, italic, monospace, external links,
// bibliographic cross-references, footnotes).
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"
#include "endo/jats/jats_walk.hpp"
#include "endo/placeholder_marks.hpp"

namespace ilvex {

// Blocks of an element, its titles marked (a section takes its first title
// as its lemma), and the index after the element's end tag.
struct JatsBlocks {
    MarkedBlocks blocks;
    std::size_t next;
};

// Inlines of an element, the note blocks of the footnotes met inside them,
// and the index after the element's end tag.
struct JatsInlines {
    std::vector<Inline> inlines;
    std::vector<Block> notes;
    std::size_t next;
};

// The block content of the element `close` from `start` (the token after
// its start tag) to its end tag. `depth` is the section depth: 0 for
// sections directly in the body, an abstract or a note. With a `sink`,
// which only the body's own content has, each block goes there as soon as
// it is complete (no section can take a title at that level) and the
// tokens read are released; `close` must then outlive them.
Result<JatsBlocks> convert_jats_blocks(JatsWalk& walk, std::size_t start, std::string_view close,
                                       std::size_t depth, ImportSink* sink = nullptr);

// The inline content of the element `close` from `start` to its end tag,
// trimmed at its edges.
Result<JatsInlines> convert_jats_inlines(JatsWalk& walk, std::size_t start, std::string_view close);

// The blocks as the document holds them: titles that no section took are
// plain paragraphs, and paragraphs left empty are dropped.
std::vector<Block> released_blocks(MarkedBlocks blocks);

}  // namespace ilvex
