// Storage the inline parser reuses from one text to the next.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

// One item list and one text buffer per nesting level. A list is gathered
// here and copied out at its exact size when finished, so the growth of
// lists and buffers is paid once per parse rather than once per paragraph.
// A deque keeps the outer levels in place while an inner level is added.
class InlineScratch {
public:
    struct Level {
        std::vector<Inline> items;
        std::string text;
    };

    // The level for `nesting`, emptied.
    Level& take(std::size_t nesting) {
        while (levels_.size() <= nesting) levels_.emplace_back();
        Level& level = levels_[nesting];
        level.items.clear();
        level.text.clear();
        return level;
    }

private:
    std::deque<Level> levels_;
};

}  // namespace ilvex
