// The state of one document parse, shared by the block, header, inline and
// suffix readers.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

// One record per finished Para, Stichoi, Diaphane and Englossis block, in
// finishing order; the outline is built from them.
struct OutlineRecord {
    std::string lemma;
    std::vector<std::string> genoses;
    std::optional<std::string> symbol;
    // The sim's name in the dialektos the block was parsed with (an Englossis
    // body uses its embedded dialektos); absent where `symbol` names no sim.
    std::optional<std::string> name;
    std::optional<std::string> onym;
    std::string_view kind;  // "para", "stichoi", "diaphane" or "englossis"
    std::uint64_t depth = 0;
    std::uint64_t start = 0;
    std::uint64_t end = 0;
};

struct ParserState {
    // Views into the text being parsed, which outlives the parse: the tree
    // copies what it keeps.
    std::vector<std::string_view> lines;
    std::string path;
    std::string dir;
    // Only the outline reads the records; other parses skip building them.
    bool collect_records = false;
    // When set, each top-level block goes here as soon as it has been read
    // instead of into the document, so the parse holds one block at a time
    // (a parse that only validates, or one written as it goes).
    std::function<void(Block&&)> top_level_sink;
    std::vector<OutlineRecord> records;
    std::uint64_t pos = 0;
    std::uint64_t depth = 0;
    bool backslash = false;

    char sigil() const { return backslash ? '\\' : '@'; }
};

}  // namespace ilvex
