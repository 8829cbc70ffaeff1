// What the parser hands the outline of each Para, Stichoi, Diaphane and
// Englossis block it finishes: the outline's own entry for the block, so that
// the parse fills it once and the outline only orders what it is given.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ilvex {

struct OutlineBlock {
    std::string_view kind;              // "para", "stichoi", "diaphane" or "englossis"
    std::optional<std::string> symbol;  // an Englossis: its embedded dialektos id
    // The sim's name in the dialektos the block was parsed with (an Englossis
    // body uses its embedded dialektos); absent where `symbol` names no sim.
    std::optional<std::string> name;
    std::uint64_t depth = 0;
    std::uint64_t start = 0;  // 1-based line of the opener
    std::uint64_t end = 0;    // 1-based line of the closer
    std::string lemma;
    std::optional<std::string> onym;
    std::vector<std::string> genoses;

    bool operator==(const OutlineBlock&) const = default;
};

// One per finished block, in finishing order. A deque grows without moving
// what it holds, so the records never stand twice in memory while they are
// collected, and it can be emptied from the front as the outline takes them.
using OutlineRecord = OutlineBlock;
using OutlineRecords = std::deque<OutlineRecord>;

}  // namespace ilvex
