// The state one TEI import passes by reference through all its converters:
// the token list with its matching-close table, the nesting bound with the
// importer's error constructor, and the note counter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

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
    // Notes numbered so far; a note's name is "n" + the count after it was
    // numbered. One count for the whole document, so names are unique.
    std::uint64_t notes = 0;
};

}  // namespace ilvex
