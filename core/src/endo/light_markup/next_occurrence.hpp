// The next occurrence of a byte in a text, for inline converters that ask
// for a construct's closer at every opener.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace ilvex {

// The first occurrence of a pattern of one or two bytes ("*", "**", "]["),
// overlapping ones included, at or after a position. A converter asks with positions that do not go back: it scans
// forward, a construct's content lies after its opener, and the scan resumes
// after the construct. So the last answer is kept and reused while the asked
// position has not passed it, and each byte of the text is searched about
// once however often an unclosed construct asks; a position that does go
// back is searched afresh, which costs time but never changes an answer.
class NextOccurrence {
public:
    NextOccurrence(std::string_view text, std::string_view pattern) : text_(text), pattern_(pattern) {}

    // The first occurrence at or after `from` and before `end`.
    std::optional<std::size_t> first(std::size_t from, std::size_t end) const;

private:
    // The text's size when there is none.
    std::size_t search(std::size_t from) const;

    std::string_view text_;
    std::string_view pattern_;
    mutable std::size_t from_ = std::string_view::npos;  // the last search started here...
    mutable std::size_t found_ = 0;                      // ...and found this
};

}  // namespace ilvex
