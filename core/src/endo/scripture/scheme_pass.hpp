// The versification scheme pass: the chapter and verse marks of a scripture
// document become milestones of a scheme whose values are full references
// ("gen.1.3"), and, when the document held no milestone of that scheme,
// its "page" and "section" milestones move into it, keeping their old scheme
// as their genos.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

// Rewrites `document` in place. `scheme` must be a valid genos (the caller
// checks it). A mark whose reference is no single onym (an empty book or
// chapter part, a number with characters no reference holds) stays the
// mark it was, since no milestone could be written with it.
void apply_scheme(Document& document, std::string_view scheme);

// Whether a milestone of `scheme` stands anywhere inside the block or
// inline (only where a scripture document can hold one: the children of
// paragraphs, divisions, poetry lines, diaphanes, englossis and inline
// spans).
bool blocks_have_milestone_scheme(std::string_view scheme, const Block& block);
bool inlines_have_milestone_scheme(std::string_view scheme, const Inline& item);

// Both searches at once: whether the block holds a milestone of `scheme`,
// and whether it holds a "page" or "section" milestone, one the pass may
// move.
struct MilestonesFound {
    bool of_scheme = false;
    bool movable = false;
};
MilestonesFound find_milestones(std::string_view scheme, const Block& block);

// The book a division's lemma names: its direct texts, trimmed.
std::string book_of(const std::vector<Inline>& lemma);

// The walk of the marks. `book` and `chapter` are the current reference:
// a chapter mark changes `chapter` for everything walked after it in the
// same book; a book division walks its children with a book of its own and
// a fresh chapter.
struct SchemeWalk {
    std::string_view scheme;
    bool move_pages_and_sections;
};
void apply_scheme_block(Block& block, const SchemeWalk& walk, std::string_view book, std::string& chapter);
void apply_scheme_blocks(std::vector<Block>& blocks, const SchemeWalk& walk, std::string_view book,
                         std::string& chapter);
void apply_scheme_inlines(std::vector<Inline>& inlines, const SchemeWalk& walk, std::string_view book,
                          std::string& chapter);

}  // namespace ilvex
