// The two loops of a light-markup block parser that may fail: the top
// level, whose blocks go to the sink as each construct is read, and a
// nested level, whose blocks are collected. `read_block(lines, i, blocks)`
// reads the construct that begins at line `i` into `blocks` and gives the
// index after it, or the import's error.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"
#include "endo/light_markup/line_window.hpp"

namespace ilvex {

// Each construct's lines are dropped once it is read, so that neither the
// lines nor the tree of the whole text are ever held.
template <typename ReadBlock>
Status stream_blocks(LineWindow& window, ImportSink& sink, ReadBlock read_block) {
    const LineRange all{window, LineRange::unbounded};
    std::vector<Block> blocks;  // what one construct gave: it may give several
    for (std::size_t i = 0; all.has(i);) {
        Result<std::size_t> next = read_block(all, i, blocks);
        if (!next) return std::move(next).error();
        i = *next;
        window.drop_before(i);
        for (Block& block : blocks) sink.block(std::move(block));
        blocks.clear();
    }
    return {};
}

template <typename ReadBlock>
Result<std::vector<Block>> read_level(LineRange lines, std::size_t i, ReadBlock read_block) {
    std::vector<Block> blocks;
    while (lines.has(i)) {
        Result<std::size_t> next = read_block(lines, i, blocks);
        if (!next) return std::move(next).error();
        i = *next;
    }
    return blocks;
}

}  // namespace ilvex
