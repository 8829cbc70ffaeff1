// Where a delimiter next occurs in a text, for inline converters that look
// for the closer of every opener they meet.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace ilvex {

// The first occurrence of a fixed needle at or after a position. A converter
// asks with positions that do not go back: it scans forward, a construct's
// content lies after its opener, and the scan resumes after the construct.
// So the last answer is kept and reused while the asked position has not
// passed it, and each byte of the text is searched about once however often
// an unclosed construct asks ("[#[#[#..." with no closer); a position that
// does go back is searched afresh, which costs time but never changes an
// answer. Occurrences may overlap: in "***" the needle "**" occurs at 0 and 1.
class NextOccurrence {
public:
    NextOccurrence(std::string_view text, std::string_view needle) : text_(text), needle_(needle) {}

    // The first occurrence that starts at or after `from` and ends by `end`.
    std::optional<std::size_t> first(std::size_t from, std::size_t end) const;

private:
    std::string_view text_;
    std::string_view needle_;
    mutable std::size_t from_ = std::string_view::npos;  // the last search started here...
    mutable std::size_t found_ = 0;                      // ...and found this (npos: none)
};

}  // namespace ilvex
