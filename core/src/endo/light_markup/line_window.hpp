// The lines of a text, split only as a reader reaches them, for importers
// that read a text one top-level block at a time: the lines before the
// block being read are dropped, so the window holds about one block's
// lines, where a split of the whole text up front would hold a view of
// every line at once (16 bytes a line, more than the text itself when its
// lines are short).
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace ilvex {

// Lines are split as split_standard_lines splits them and numbered from the
// start of the text; each is a view into the text that a reader may narrow
// in place (to strip a marker).
class LineWindow {
public:
    explicit LineWindow(std::string_view text) : text_(text) {}

    // Whether the text has a line `i`, splitting up to it when needed. `i`
    // is never before the first line held.
    bool has(std::size_t i) { return i - first_ < held_.size() || split_to(i); }

    // Line `i`, which has(i) found and drop_before has not dropped.
    std::string_view& operator[](std::size_t i) { return held_[i - first_]; }

    // Drops the lines before line `i`, which is at most one past the last
    // line held: the reader is done with them.
    void drop_before(std::size_t i);

private:
    // Splits lines until line `i` is held or the text ends: whether it is.
    bool split_to(std::size_t i);

    std::string_view text_;
    std::size_t unsplit_ = 0;  // where the first line not yet split begins
    std::size_t first_ = 0;    // the number of held_.front()
    std::vector<std::string_view> held_;
};

// The lines one level of a parse reads: those of the window before `end`
// (the top level reads to the end of the text). A nested level (a quote, an
// item) strips its markers from its own lines in place and reads them as a
// range of its own: the lines after a nested block are never read again by
// the enclosing level, so nothing is copied per level.
struct LineRange {
    static constexpr std::size_t unbounded = std::numeric_limits<std::size_t>::max();

    LineWindow& window;
    std::size_t end;

    bool has(std::size_t i) const { return i < end && window.has(i); }
    std::string_view& operator[](std::size_t i) const { return window[i]; }
};

// Lines [begin, end) of `lines`, which has them all, as the text of a code
// block: each line followed by a line feed, so that a last line that is
// empty is kept (the writer ends a code block's last line itself, and a
// text whose own last line feed were missing would lose that line). Sized
// once: a code block may be most of a document.
std::string literal_lines(LineRange lines, std::size_t begin, std::size_t end);

// Lines [begin, end) of `lines`, which has them all, joined by spaces into
// the text of a paragraph. Sized once: a paragraph may be most of a
// document, and a text grown line by line would be copied as it grows.
std::string joined_lines(LineRange lines, std::size_t begin, std::size_t end);
// The same into `text`, whose room a reader that joins many paragraphs
// reuses.
void join_lines(LineRange lines, std::size_t begin, std::size_t end, std::string& text);

}  // namespace ilvex
