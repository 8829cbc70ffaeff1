// The inlines of a paragraph as a flat list of views: texts, the opening
// and closing of endo-simmeres, enlexeis and deixeis. An importer that reads
// its inlines so hands the import writer a paragraph it can write as a line
// without a tree being built and freed, and builds the tree only for the
// paragraphs the writer must write itself.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

struct FlatInline {
    enum class Kind : std::uint8_t {
        Text,
        Open,     // an endo-simmere, whose children follow up to its Close
        Close,
        Enlexis,  // a literal text: one enlexis, in pieces when it holds the enlexis closer
        Deixis,
    };

    Kind kind;
    // Text: the text continues the Text before it as one text of the tree
    // (a text read in pieces, around an escape, say).
    bool joins = false;
    bool mirrored = true;            // Open
    std::string_view text;           // Text, Enlexis: the text; Open, Deixis: the symbol
    std::string_view target;         // Deixis
    const Suffix* suffix = nullptr;  // Close, Enlexis, Deixis: null for an empty suffix
};

struct FlatInlines {
    std::vector<FlatInline> items;
    // Texts made while reading (decoded, not a view of the source), which
    // items view: a deque keeps them in place as it grows.
    std::deque<std::string> made;
    // Known to hold no text with a byte written otherwise than as it stands
    // (writing::written_otherwise), as a reader may tell from its source in
    // one search; else each text is searched as it is written.
    bool texts_as_they_stand = false;

    void clear() {
        items.clear();
        made.clear();
        texts_as_they_stand = false;
    }
};

// Appends the items of `list` to `out`, which views them: false when an
// item (at any depth) is of a kind a flat list does not hold.
bool flatten(const std::vector<Inline>& list, FlatInlines& out);

// The items of a literal text (a code span's) appended to `out`: one
// enlexis, or the pieces literal_inlines cuts when the text holds the
// enlexis closer.
void append_literal(std::string_view text, std::vector<Inline>& out);

// The tree of a flat list whose items are well nested: texts joined as their
// flags say, each literal text as literal_inlines gives it, and the
// backslashes that end a text before another item isolated in every list.
std::vector<Inline> inline_tree(const FlatInlines& inlines);

}  // namespace ilvex
