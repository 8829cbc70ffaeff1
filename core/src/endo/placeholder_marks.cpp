#include "endo/placeholder_marks.hpp"

#include <iterator>

namespace ilvex {

void MarkedBlocks::push(Block block) {
    blocks_.push_back(std::move(block));
    marks_.emplace_back();
}

void MarkedBlocks::push_marked(Block block, BlockMark mark) {
    blocks_.push_back(std::move(block));
    marks_.emplace_back(mark);
}

void MarkedBlocks::append(MarkedBlocks other) {
    blocks_.insert(blocks_.end(), std::make_move_iterator(other.blocks_.begin()),
                   std::make_move_iterator(other.blocks_.end()));
    marks_.insert(marks_.end(), other.marks_.begin(), other.marks_.end());
}

std::optional<Block> MarkedBlocks::take_first(BlockMark mark) {
    if (marks_.empty() || marks_.front() != mark) return std::nullopt;
    Block first = std::move(blocks_.front());
    blocks_.erase(blocks_.begin());
    marks_.erase(marks_.begin());
    return first;
}

std::vector<Block> MarkedBlocks::release() && { return std::move(blocks_); }

void InlineRun::append(InlineRun other) {
    for (const std::size_t at : other.breaks_) breaks_.push_back(items_.size() + at);
    items_.insert(items_.end(), std::make_move_iterator(other.items_.begin()),
                  std::make_move_iterator(other.items_.end()));
}

std::vector<std::vector<Inline>> InlineRun::lines() && {
    std::vector<std::vector<Inline>> lines(1);
    std::size_t next_break = 0;
    for (std::size_t i = 0; i <= items_.size(); ++i) {
        while (next_break < breaks_.size() && breaks_[next_break] == i) {
            lines.emplace_back();
            ++next_break;
        }
        if (i < items_.size()) lines.back().push_back(std::move(items_[i]));
    }
    return lines;
}

}  // namespace ilvex
