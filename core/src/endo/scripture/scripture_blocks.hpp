// What the scripture importers (USFM, USX, OSIS) share: the sims of il-usfm
// they build and the exact shape of each, the paragraph and heading style
// tables of USFM and USX, and the small builders for verses, books, poetry
// and phrases. Plain functions over owned values; none can fail.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

// The dialektos every scripture import declares.
inline constexpr std::string_view usfm_dialektos = "il-usfm";

// The symbols of the il-usfm sims the importers build.
inline constexpr std::string_view book_symbol = "#";      // para-simmere, lemma = book code
inline constexpr std::string_view chapter_symbol = "##";  // monosim, parameter = number
inline constexpr std::string_view verse_symbol = "|";     // monosim, parameter = number
inline constexpr std::string_view block_symbol = "_";     // typed block, genos = style
inline constexpr std::string_view poetry_symbol = "~";    // stichoi of poetry lines
inline constexpr std::string_view phrase_symbol = ",";    // character span, genos = style or level
inline constexpr std::string_view note_symbol = "^";      // note, genos = f, fe or x

// Paragraph styles whose content runs on until the next paragraph (USFM)
// or fills one paragraph element (USX). "p" is the plain paragraph and is
// not listed.
inline constexpr std::array<std::string_view, 39> USFM_PARAGRAPH_STYLES = {
    "m",    "mi",   "pi1",  "pi2",  "pi3",  "pc",   "nb",   "po",   "ip",  "li1",
    "tr",   "th1",  "th2",  "th3",  "tc1",  "tc2",  "tc3",  "thr1", "thr2", "thr3",
    "tcr1", "tcr2", "tcr3", "li2",  "li3",  "li4",  "ili1", "ili2", "lh",  "lf",
    "pm",   "pmo",  "pmc",  "pmr",  "pr",   "cls",  "ph1",  "ph2",  "ipi",
};

// Heading and title styles: a typed block holding the text of their own
// line or element.
inline constexpr std::array<std::string_view, 26> USFM_HEADING_STYLES = {
    "h",   "r",   "d",   "mr",  "s1",   "s2",   "s3",   "sp",   "qa",   "cl",   "cp",   "mt1",  "mt2",
    "mt3", "ms1", "ms2", "is1", "lit",  "io1",  "io2",  "toc1", "toc2", "toc3", "imt1", "imt2", "imt3",
};

// Whether a canonical name is in the table: exact byte comparison.
bool is_usfm_paragraph_style(std::string_view canonical_name);
bool is_usfm_heading_style(std::string_view canonical_name);

// The numbered name of an unnumbered style ("s" gives "s1", "mt" gives
// "mt1"); "s4" maps down to "s3", the deepest section level il-usfm has.
// Case-sensitive; every other name comes back as it is.
std::string_view canonical_usfm_marker(std::string_view name);

// The suffix carrying a style, level or note kind as its one genos. A name
// that is no valid genos goes through writable_genos: lower-cased when that
// makes it one, else dropped, leaving the suffix empty.
Suffix style_suffix(std::string_view name);

// The chapter mark, alone in its paragraph, as the USFM and USX importers
// place it.
Inline chapter_milestone(std::string number);
Block chapter_block(std::string number);

Inline verse_milestone(std::string number);

// Appends a verse mark, after a space unless `inlines` is empty or already
// ends with a non-empty text ending in white space.
void push_verse_milestone(std::vector<Inline>& inlines, std::string number);

// The book division "#": the code (stored as given; callers lower-case it)
// as its lemma, `children` as its body.
Block book_division_block(std::string book_code, std::vector<Block> children);

// A paragraph of a style: its only inline is the "_" sim holding `inlines`.
Block typed_block(std::string_view style, std::vector<Inline> inlines);

// A "," phrase of a style or poetry level, and a "^" note of a kind.
Inline phrase(std::string_view genos, std::vector<Inline> children);
Inline note(std::string_view kind, std::vector<Inline> children);

// Closes the poetry collected so far: moves a non-empty current strophe to
// the strophe list, then, when that list is not empty, appends one "~"
// block of it to `blocks` and empties it. With nothing collected it does
// nothing, so callers call it before anything that ends poetry.
void poetry_block(Strophe& current_strophe, std::vector<Strophe>& strophes, std::vector<Block>& blocks);

// Trims `children` and appends them as a "," phrase of `genos`, even when
// nothing is left of them.
void wrap_inline_sim(std::vector<Inline>& out, std::string_view genos, std::vector<Inline> children);

}  // namespace ilvex
