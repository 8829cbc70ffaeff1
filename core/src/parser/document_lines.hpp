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
    bool has(std::size_t i) { return i < end_line() ? i >= first_ : split_to(i); }

    // Line `i`, which has(i) found.
    std::string_view operator[](std::size_t i) const { return held_[head_ + (i - first_)]; }

    // Whether a carriage return stands anywhere in the lines split so far
    // (a line held is split whole), where a line ends or not: most texts
    // have none, and their lines need no search for one.
    bool carriage_return_met() const { return carriage_return_met_; }

    // The offset in the text before which every line has been dropped.
    std::size_t dropped_bytes() const {
        return head_ < held_.size() ? static_cast<std::size_t>(held_[head_].data() - text_.data()) : unsplit_;
    }

    // Drops the lines before line `i`: the reader never reads them again.
    void drop_before(std::size_t i) {
        if (i <= first_) return;
        if (i > end_line()) return drop_unsplit(i);
        head_ += i - first_;
        first_ = i;
    }

private:
    // The number of the first line not split yet.
    std::size_t end_line() const { return first_ + (held_.size() - head_); }
    bool split_to(std::size_t i);
    // Splits the lines that end in the next block of the text.
    void split_block();
    void drop_unsplit(std::size_t i);
    void add_line(std::size_t start, std::size_t end) {
        std::size_t content_end = end;
        while (content_end > start && text_[content_end - 1] == '\r') --content_end;
        held_.push_back(text_.substr(start, content_end - start));
    }

    std::string_view text_;
    std::size_t unsplit_ = 0;  // where the first line not yet split begins
    std::size_t scanned_ = 0;  // where the search for line feeds goes on
    std::size_t first_ = 0;    // the number of the first line held
    // The lines held are held_[head_...]: dropped lines are only counted
    // off, and erased once they are the larger part, so that dropping costs
    // the same whatever the window holds.
    std::size_t head_ = 0;
    std::vector<std::string_view> held_;
    bool carriage_return_met_ = false;
};

// The parent directory of `path`, computed on its text: "" for a bare file
// name (the current directory), "/" for a file in the root, "." when the
// path has no parent at all (the empty path, a root).
std::string document_directory(std::string_view path);

}  // namespace ilvex
