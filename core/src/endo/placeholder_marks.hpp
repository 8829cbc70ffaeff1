// Placeholder marks: what a converter leaves for a later step of the same
// importer. A title may become the document title or a section's lemma, a
// TEI head its division's lemma, and an HTML line break inside a verse
// division ends a line of a strophe. The marks are kept beside the tree
// being built, never in it: no source text can pass for one, and none can
// reach the written document, because dropping a mark leaves the plain form
// of what it marked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

enum class BlockMark : std::uint8_t { Title, Head };

// A block list in which some blocks carry a mark. A marked block holds the
// plain form its mark leaves when nothing takes it: a title's `Paragraph` of
// its inlines, a head's paragraph as the document shows it.
class MarkedBlocks {
public:
    void push(Block block);
    void push_marked(Block block, BlockMark mark);
    // Appends `other` with its marks, for content that joins this list.
    void append(MarkedBlocks other);

    // The first block, taken out of the list, when it carries `mark`.
    std::optional<Block> take_first(BlockMark mark);

    const std::vector<Block>& blocks() const { return blocks_; }

    // The blocks with every mark dropped.
    std::vector<Block> release() &&;

private:
    std::vector<Block> blocks_;
    std::vector<std::optional<BlockMark>> marks_;  // one per block
};

// An inline list with line breaks marked between its items.
class InlineRun {
public:
    void push(Inline item) { items_.push_back(std::move(item)); }
    void push_break() { breaks_.push_back(items_.size()); }
    // Appends `other` with its breaks (children that stand unwrapped, such
    // as those of an anchor without a target).
    void append(InlineRun other);

    // Appends the converted children `inner` wrapped by `wrap` (which makes,
    // say, an emphasis of an inline list). Children without breaks are
    // wrapped whole, even when empty. Children with breaks are wrapped piece
    // by piece between them, empty pieces left out, and their breaks become
    // breaks of this run: a break nested in markup still ends a line.
    template <class Wrap>
    void push_wrapped(InlineRun inner, Wrap&& wrap) {
        if (inner.breaks_.empty()) {
            push(wrap(std::move(inner.items_)));
            return;
        }
        std::vector<std::vector<Inline>> pieces = std::move(inner).lines();
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            if (k > 0) push_break();
            if (!pieces[k].empty()) push(wrap(std::move(pieces[k])));
        }
    }

    bool has_breaks() const { return !breaks_.empty(); }

    // The items split at the breaks: one line more than there are breaks.
    std::vector<std::vector<Inline>> lines() &&;

    // The items with the breaks dropped, for content in which a break
    // cannot stand.
    std::vector<Inline> inlines() && { return std::move(items_); }

private:
    std::vector<Inline> items_;
    std::vector<std::size_t> breaks_;  // item counts before each break, ascending
};

}  // namespace ilvex
