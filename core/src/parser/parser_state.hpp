// The state of one document parse, shared by the block, header, inline and
// suffix readers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    // A parse that only validates drops each top-level block once it has
    // been read, so it holds one block at a time.
    bool keep_top_level_blocks = true;
    std::vector<OutlineRecord> records;
    std::uint64_t pos = 0;
    std::uint64_t depth = 0;
    bool backslash = false;

    char sigil() const { return backslash ? '\\' : '@'; }
};

}  // namespace ilvex
