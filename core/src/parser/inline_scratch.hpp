// Storage the inline parser reuses from one text to the next.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
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
// handed out as gathered, and the sink gives the lists and texts of each
// block back (`take_back`) for the next ones, so that a long parse reaches
// a steady state without allocating per item.
class InlineScratch {
public:
    struct Level {
        std::vector<Inline> items;
        std::string text;
    };

    // Set by a sink that gives every block back once it is done with it.
    bool recycling = false;

    // The level for `nesting`, emptied.
    Level& take(std::size_t nesting) {
        while (levels_.size() <= nesting) levels_.push_back(std::make_unique<Level>());
        Level& level = *levels_[nesting];
        level.items.clear();
        level.text.clear();
        return level;
    }

    // The finished items of `level`, the level left empty.
    std::vector<Inline> finish(Level& level) {
        if (recycling && !lists_.empty()) return finish_recycled(level);
        std::vector<Inline> items(std::make_move_iterator(level.items.begin()),
                                  std::make_move_iterator(level.items.end()));
        level.items.clear();
        return items;
    }

    // A text item's string holding `text`, in storage given back when
    // recycling.
    std::string text(std::string_view text) {
        if (recycling && !texts_.empty()) return spare_text(text);
        return std::string(text);
    }

    // Takes the lists and texts of a block that has been handed over back
    // for reuse; the block is left with empty ones. A document of a few
    // blocks gains nothing from reuse: its first blocks are left as they are.
    void take_back(Block& block);

private:
    // The gathered list itself, the level given a spare one in its place
    // (a level without one would grow its list anew).
    std::vector<Inline> finish_recycled(Level& level);

    // A spare text, holding `text` now.
    std::string spare_text(std::string_view text);

    void take_back(std::vector<Inline>& list);

    std::size_t blocks_before_reuse_ = 8;
    std::vector<std::unique_ptr<Level>> levels_;
    std::vector<std::vector<Inline>> lists_;  // empty, with their capacity
    std::vector<std::string> texts_;          // with storage of their own
};

}  // namespace ilvex
