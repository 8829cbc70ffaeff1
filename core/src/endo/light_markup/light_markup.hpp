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

// ASCII punctuation: U+0021 to U+002F, U+003A to U+0040, U+005B to U+0060
// and U+007B to U+007E.
bool is_ascii_punctuation(char32_t c);

// The span recognisers take UTF-8 text and byte offsets: every delimiter is
// ASCII and no byte of a multi-byte character is, so an importer scans its
// text as bytes and decodes only the neighbours of a delimiter.

// Whether the delimiter at byte `index` may open a span: it stands at the
// start or after white space or one of " ' ( [ {, and the next character is
// neither white space nor the same delimiter (so the first of a doubled
// delimiter never opens a single-character span).
bool opens_emphasis(std::string_view text, std::size_t index);

// Where the span opened by a delimiter closes. A closer is the next later
// occurrence of the same character that does not follow white space and is
// the last character or followed by white space or ASCII punctuation; an
// immediately repeated delimiter closes an empty span. There is no nesting.
// The closers of the given delimiters are found once, in one pass, so that
// an importer asking at each delimiter stays near-linear in the text.
class ClosingDelimiterIndex {
public:
    // `delimiters`: the ASCII characters that will be asked about.
    ClosingDelimiterIndex(std::string_view text, std::string_view delimiters);

    // The closer of the delimiter at byte `index`, or nothing (also for an
    // index past the end or a character that is not one of the delimiters).
    std::optional<std::size_t> find_closing_delimiter(std::size_t index) const;

private:
    std::string_view text_;
    std::string delimiters_;
    std::vector<std::vector<std::size_t>> closers_;  // ascending, one list per delimiter
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
// The same without the target: the index just after the ">".
std::optional<std::size_t> autolink_end(std::u32string_view chars, std::size_t index);

struct OrderedItemMarker {
    std::uint64_t number;
    std::string_view rest;  // the line after the marker and its one space
};

// ASCII digits followed by ". " or ") " at the start of `line`; a number
// that does not fit in 64 bits is no marker.
std::optional<OrderedItemMarker> ordered_item_marker(std::string_view line);

}  // namespace ilvex
