// The line model of a document and the directory its dialektos comes from.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ilvex {

// Splits at every "\n"; a final "\n" starts no extra line, and every line
// loses all "\r" at its end. The empty text has no lines. The lines are
// views into `text`, which must outlive them.
std::vector<std::string_view> split_document_lines(std::string_view text);

// The line that begins at byte `start` of `text` (before its end), as
// split_document_lines cuts it, and where the line after it begins.
struct DocumentLine {
    std::string_view text;
    std::size_t next = 0;
};
DocumentLine document_line_at(std::string_view text, std::size_t start);

// The lines of split_document_lines, split only as a reader reaches them and
// numbered from the start of the text. A reader that is done with the lines
// before a point drops them, so a parse holds the lines of about one
// top-level block at a time instead of a view of every line (16 bytes a
// line, close to half the text when lines are short).
class DocumentLines {
public:
    DocumentLines() = default;
    explicit DocumentLines(std::string_view text) : text_(text) {}

    // Whether the text has line `i`, splitting up to it when needed; false
    // too for a line already dropped.
    bool has(std::size_t i) { return i < first_ + held_.size() ? i >= first_ : split_to(i); }

    // Line `i`, which has(i) found.
    std::string_view operator[](std::size_t i) const { return held_[i - first_]; }

    // Drops the lines before line `i`: the reader never reads them again.
    void drop_before(std::size_t i);

private:
    bool split_to(std::size_t i);

    std::string_view text_;
    std::size_t unsplit_ = 0;  // where the first line not yet split begins
    std::size_t first_ = 0;    // the number of the first line held
    std::vector<std::string_view> held_;
};

// The parent directory of `path`, computed on its text: "" for a bare file
// name (the current directory), "/" for a file in the root, "." when the
// path has no parent at all (the empty path, a root).
std::string document_directory(std::string_view path);

}  // namespace ilvex
