#include "endo/scripture/usfm_lines.hpp"

#include "dialektos/unicode.hpp"
#include "endo/scripture/usfm_closers.hpp"

namespace ilvex {

long usfm_note_count(std::string_view line) {
    long count = 0;
    for (std::size_t at = line.find('\\'); at != std::string_view::npos; at = line.find('\\', at + 1)) {
        const std::size_t length = usfm_name_length(line, at + 1);
        const std::string_view name = line.substr(at + 1, length);
        if (name != "f" && name != "fe" && name != "x") continue;
        const std::size_t after = at + 1 + length;
        count += after < line.size() && line[after] == '*' ? -1 : 1;
    }
    return count;
}

// A line without its "\n" and the one "\r" before it; a last piece without
// "\n" is a line when it is not empty.
std::optional<std::string_view> UsfmLogicalLines::next_line() {
    if (rest_.empty()) return std::nullopt;
    const std::size_t feed = rest_.find('\n');
    std::string_view line = rest_.substr(0, feed);
    rest_.remove_prefix(feed == std::string_view::npos ? rest_.size() : feed + 1);
    if (feed != std::string_view::npos && line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

std::optional<std::string_view> UsfmLogicalLines::next() {
    const std::optional<std::string_view> first = next_line();
    if (!first) return std::nullopt;
    long depth = usfm_note_count(*first);
    if (depth <= 0) return first;
    joined_.assign(*first);
    while (depth > 0) {
        const std::optional<std::string_view> line = next_line();
        if (!line) break;
        joined_ += ' ';
        joined_ += unicode::trim(*line);
        depth += usfm_note_count(*line);
    }
    return std::string_view(joined_);
}

}  // namespace ilvex
