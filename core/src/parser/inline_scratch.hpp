// Storage the inline parser reuses from one text to the next.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

// One item list and one text buffer per nesting level. A list is gathered
// here and copied out at its exact size when finished, so the growth of
// lists and buffers is paid once per parse rather than once per paragraph.
// Each level has storage of its own, so the outer levels stay in place
// while an inner level is added; a scratch that has no level yet holds no
// storage at all, so making and moving parser states costs no allocation.
//
// A parse whose sink uses each block and then drops it keeps no tree, so
// exact sizes buy nothing there: with `recycling` set, a finished list is
// handed out as gathered, and the lists of each block come back
// (`take_back`) for the next ones, items and all: from the sink for a block
// it was handed whole, from the parser for a block with a body once the
// sink has closed it. A list is gathered over the items of one given back,
// which are assigned in place: a text item keeps the storage of its string,
// so a long parse reaches a steady state without allocating or freeing per
// item.
class InlineScratch {
public:
    struct Level {
        // Items [0, used) are the list being gathered; the ones after them
        // are left from an earlier list, to be assigned over.
        std::vector<Inline> items;
        std::size_t used = 0;
        std::string text;
    };

    // Set by a sink that gives every block back once it is done with it.
    bool recycling = false;

    // The level for `nesting`, emptied.
    Level& take(std::size_t nesting) {
        while (levels_.size() <= nesting) levels_.push_back(std::make_unique<Level>());
        Level& level = *levels_[nesting];
        level.used = 0;
        level.text.clear();
        return level;
    }

    // Adds the item `node` to `level`, over an item left there when there is one.
    template <class Node>
    void add(Level& level, Node&& node) {
        if (level.used == level.items.size()) {
            level.items.emplace_back(std::forward<Node>(node));
        } else {
            Inline& slot = level.items[level.used];
            keep_text_of(slot);
            slot.node = std::forward<Node>(node);
        }
        ++level.used;
    }

    // Adds a text item holding `text` to `level`: when recycling, over a
    // text item left there, whose string keeps its storage, or in a spare
    // string.
    void add_text(Level& level, std::string_view text);

    // The finished items of `level`.
    std::vector<Inline> finish(Level& level);

    // Takes the lists of a block that has been handed over back for reuse;
    // the block is left with empty ones. A document of a few blocks gains
    // nothing from reuse: its first blocks are left as they are.
    void take_back(Block& block);

    // Takes back what the items of a list hold (their nested lists), the
    // list itself staying with its owner to be gathered over.
    void take_back_items(std::vector<Inline>& list);

private:
    void take_back(std::vector<Inline>& list);

    // A string holding `text`, in a spare one's storage when there is one.
    std::string spare_text(std::string_view text);

    // Keeps the string of a text item about to be assigned over as a spare.
    void keep_text_of(Inline& item);

    std::size_t blocks_before_reuse_ = 8;
    std::vector<std::unique_ptr<Level>> levels_;
    std::vector<std::vector<Inline>> lists_;  // items and all
    std::vector<std::string> texts_;          // with storage of their own
};

}  // namespace ilvex
