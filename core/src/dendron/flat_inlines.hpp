// The inlines of a paragraph as a flat list of views: texts, the opening
// and closing of endo-simmeres, enlexeis, deixeis, monosims, milestones and
// onym anchors. A reader that reads a paragraph so (the parser for brachy, an
// importer) hands the writer a paragraph it can write without a tree being
// built and freed; a tree is built only for the paragraphs the writer must
// write itself.
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
        Monosim,
        Milestone,
        OnymAnchor,
    };

    Kind kind;
    // Text: the text continues the Text before it as one text of the tree
    // (a text read in pieces, around an escape, say).
    bool joins = false;
    bool mirrored = true;  // Open
    // Text, Enlexis: the text; Open, Deixis, Monosim: the symbol;
    // Milestone: the scheme; OnymAnchor: the onym.
    std::string_view text;
    std::string_view target;         // Deixis: the target; Monosim: the parameter; Milestone: the value
    const Suffix* suffix = nullptr;  // all but Text, Open and OnymAnchor: null for an empty suffix
};

struct FlatInlines {
    std::vector<FlatInline> items;
    // Texts made while reading (decoded, not a view of the source), which
    // items view: a deque keeps them in place as it grows.
    std::deque<std::string> made;
    // The suffixes read, which items point at.
    std::deque<Suffix> suffixes;
    // Known to hold no text with a byte written otherwise than as it stands
    // (writing::written_otherwise) but line feeds, which running text keeps
    // as they are, as a reader may tell from its source in one search; else
    // each text is searched as it is written.
    bool texts_as_they_stand = false;
    // Set by a reader that met what the list does not hold (an item of
    // another kind, or more items than it keeps at once): the paragraph
    // must then be read as a tree.
    bool incomplete = false;

    void clear() {
        items.clear();
        made.clear();
        suffixes.clear();
        texts_as_they_stand = false;
        incomplete = false;
    }
};

// Appends the items of `list` to `out`, which views them: false when an
// item (at any depth) is of a kind a flat list does not hold.
bool flatten(const std::vector<Inline>& list, FlatInlines& out);

}  // namespace ilvex
