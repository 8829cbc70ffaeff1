// The state one TEI import passes by reference through all its converters:
// the window of tokens, the nesting bound with the importer's error
// constructor, and the note counter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/error.hpp"
#include "endo/import_context.hpp"
#include "endo/tei/tei_token_window.hpp"
#include "endo/xml/xml_token.hpp"

namespace ilvex {

struct TeiContext {
    explicit TeiContext(std::string_view text);

    TeiContext(const TeiContext&) = delete;
    TeiContext& operator=(const TeiContext&) = delete;

    // "tei import: " + message, kind MissingResource.
    Error error(std::string_view message) const { return import.error(message); }

    // The tokens of the text, read as the converters walk them. Reading on
    // changes no token a converter sees, so a context given as const reads
    // on too.
    mutable TeiTokens tokens;
    // The nesting bound ("nesting deeper than 256 levels") and the onym check.
    ImportContext import;

    // Notes numbered so far; a note's name is "n" + the count after it was
    // numbered. One count for the whole document, so names are unique.
    std::uint64_t notes = 0;
};

// What a converter of running text gives: the inlines, the blocks made
// inside them (note bodies) for the caller to place, and the index just
// after the element's end tag.
struct TeiInlines {
    std::vector<Inline> inlines;
    std::vector<Block> blocks;
    std::size_t next = 0;
};

// What a converter of block content gives: the blocks and the index just
// after the element's end tag.
struct TeiBlocks {
    std::vector<Block> blocks;
    std::size_t next = 0;
};

// What a converter of one block gives: the block and the index just after
// the element's end tag.
struct TeiBlock {
    Block block;
    std::size_t next = 0;
};

}  // namespace ilvex
