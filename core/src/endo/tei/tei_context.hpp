// The state one TEI import passes by reference through all its converters:
// the token list with its matching-close table, the nesting bound with the
// importer's error constructor, and the note counter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/error.hpp"
#include "endo/import_context.hpp"
#include "endo/xml/xml_token.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {

struct TeiContext {
    // The tokens must outlive the context.
    explicit TeiContext(const std::vector<XmlToken>& tokens);

    TeiContext(const TeiContext&) = delete;
    TeiContext& operator=(const TeiContext&) = delete;

    // "tei import: " + message, kind MissingResource.
    Error error(std::string_view message) const { return import.error(message); }

    const std::vector<XmlToken>& tokens;
    // For every start tag, the index of its end tag: look-aheads to a later
    // end tag answer from here instead of rescanning.
    MatchingCloses closes;
    // The nesting bound ("nesting deeper than 256 levels") and the onym check.
    ImportContext import;
    // How many start tags of verse lines ("l") and of prose ("p", "ab",
    // "quote") stand before each index, for telling a verse speech from a
    // prose one without rescanning it. Built on first use.
    struct SpeechCounts {
        std::vector<std::size_t> lines;
        std::vector<std::size_t> prose;
    };
    const SpeechCounts& speech_counts();

    // Notes numbered so far; a note's name is "n" + the count after it was
    // numbered. One count for the whole document, so names are unique.
    std::uint64_t notes = 0;

private:
    std::optional<SpeechCounts> speech_counts_;
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
