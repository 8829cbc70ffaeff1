// The markup inside a line of USFM: verses inside running text, character
// styles with their closers, word-level markers reduced to their word, and
// footnotes and cross references cut at their part markers.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/import_context.hpp"
#include "endo/scripture/usfm_closers.hpp"

namespace ilvex {

// Reads pieces of one text (a logical line of the importer). Pieces are
// given as byte ranges of that text, so that nested content is read in
// place and every closer is found in the one index of the text.
class UsfmInlineReader {
public:
    // `text` must outlive the reader; `context` bounds the nesting of
    // styles and notes across the whole import.
    UsfmInlineReader(std::string_view text, ImportContext& context) : text_(text), context_(context) {}

    // The inlines of the text between `begin` and `end`.
    Result<std::vector<Inline>> inlines(std::size_t begin, std::size_t end);
    // The inlines of a note's text: its parts, the reference parts "fr"
    // and "xo" as phrases, the others as plain text.
    Result<std::vector<Inline>> note(std::size_t begin, std::size_t end);

    // The inlines of a piece of the text given as a view into it.
    Result<std::vector<Inline>> inlines(std::string_view piece) {
        const auto begin = static_cast<std::size_t>(piece.data() - text_.data());
        return inlines(begin, begin + piece.size());
    }

private:
    struct Marker;
    struct Span {
        std::size_t begin;
        std::size_t end;
    };

    // `span` without the white space at its ends.
    Span trimmed(Span span) const;
    // The marker whose backslash is at `at`.
    Marker read_marker(std::size_t at, std::size_t end) const;
    // The closer of a marker after `from`: "\+name*" first for a nested
    // one, then "\name*"; npos when neither comes before `end`.
    std::size_t find_closer(const Marker& marker, std::size_t from, std::size_t end, std::size_t& closer_size);
    // The inlines of a span one nesting level deeper.
    Result<std::vector<Inline>> nested_inlines(Span span);
    Result<std::vector<Inline>> nested_note(Span span);

    std::string_view text_;
    ImportContext& context_;
    std::optional<UsfmCloserIndex> closers_;  // built at the first search
};

// The inlines of a whole text, and of a whole note text.
Result<std::vector<Inline>> import_usfm_inlines(std::string_view text);
Result<std::vector<Inline>> import_usfm_note(std::string_view text);

}  // namespace ilvex
