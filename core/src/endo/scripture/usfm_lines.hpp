// The logical lines of a USFM text: its lines, except that a footnote or
// cross reference left open at the end of a line pulls the following lines
// into its own (joined by one space, each trimmed) until it is closed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ilvex {

class UsfmLogicalLines {
public:
    explicit UsfmLogicalLines(std::string_view text) : rest_(text) {}

    // The next logical line, or nothing at the end. The view holds until
    // the next call.
    std::optional<std::string_view> next();

private:
    std::optional<std::string_view> next_line();

    std::string_view rest_;
    std::string joined_;  // a logical line made of several lines
};

// How a line changes the count of open notes: +1 for each "\f", "\fe" or
// "\x", -1 for each of them followed by "*".
long usfm_note_count(std::string_view line);

}  // namespace ilvex
