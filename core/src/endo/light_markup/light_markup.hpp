// Recognisers shared by the light-markup importers (Markdown, djot, Org).
// The inline recognisers work on the text decoded into characters and take
// character indices; none of them fails, a shape that does not match simply
// gives no answer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ilvex {

// Whether the delimiter at `index` may open a span: it stands at the start
// or after white space or one of " ' ( [ {, and the next character is
// neither white space nor the same delimiter (so the first of a doubled
// delimiter never opens a single-character span).
bool opens_emphasis(std::u32string_view chars, std::size_t index);

// Where the span opened by a delimiter closes. A closer is the next later
// occurrence of the same character that does not follow white space and is
// the last character or followed by white space or ASCII punctuation; an
// immediately repeated delimiter closes an empty span. There is no nesting.
// The answers for every position are computed once, in one backward pass,
// so that an importer asking at each delimiter stays linear in the text.
class ClosingDelimiterIndex {
public:
    explicit ClosingDelimiterIndex(std::u32string_view chars);

    // The closer of the delimiter at `index`, or nothing (also for an index
    // past the end).
    std::optional<std::size_t> find_closing_delimiter(std::size_t index) const;

private:
    std::vector<std::size_t> next_closer_;
};

struct Autolink {
    std::string target;  // the text between the angle brackets
    std::size_t end;     // the index just after the ">"
};

// An autolink "<scheme:rest>" whose "<" is at `index`: the inner text is
// non-empty, holds no white space and no "<", and contains a colon that is
// neither its first nor its last character; the scheme before the first
// colon is an ASCII letter followed by ASCII letters, digits, "+", "-" or ".".
std::optional<Autolink> autolink_at(std::u32string_view chars, std::size_t index);

struct OrderedItemMarker {
    std::uint64_t number;
    std::string_view rest;  // the line after the marker and its one space
};

// ASCII digits followed by ". " or ") " at the start of `line`; a number
// that does not fit in 64 bits is no marker.
std::optional<OrderedItemMarker> ordered_item_marker(std::string_view line);

}  // namespace ilvex
