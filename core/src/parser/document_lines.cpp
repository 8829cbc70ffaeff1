#include "parser/document_lines.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "dialektos/byte_set.hpp"

namespace ilvex {

namespace {

// Lines are short: an inline block scan finds each line feed faster than a
// call to memchr would.
constexpr ByteSet line_feed("\n");
// What a block is searched for: line feeds, and carriage returns, which
// are counted (see DocumentLines::carriage_return_met) but split nothing.
constexpr ByteSet line_bytes("\n\r");

// The window is split a block of the text at a time: one search over the
// block finds every line feed in it, where a search per line would set up
// again for each.
constexpr std::size_t block_size = 64;

}  // namespace

DocumentLine document_line_at(std::string_view text, std::size_t start) {
    const std::size_t end = line_feed.find_in(text, start);
    std::size_t content_end = end;
    while (content_end > start && text[content_end - 1] == '\r') --content_end;
    return {text.substr(start, content_end - start), end + 1};
}

std::vector<std::string_view> split_document_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    lines.reserve(line_feed.count_in(text) + 1);
    for (std::size_t start = 0; start < text.size();) {
        const DocumentLine line = document_line_at(text, start);
        lines.push_back(line.text);
        start = line.next;
    }
    return lines;
}

void DocumentLines::split_block() {
    if (scanned_ + block_size <= text_.size()) {
        for (std::uint64_t found = line_bytes.members_in_64(text_.data() + scanned_); found != 0; found &= found - 1) {
            const std::size_t end = scanned_ + static_cast<std::size_t>(std::countr_zero(found));
            if (text_[end] == '\r') {
                carriage_return_met_ = true;
                continue;
            }
            add_line(unsplit_, end);
            unsplit_ = end + 1;
        }
        scanned_ += block_size;
        return;
    }
    for (; scanned_ < text_.size(); ++scanned_) {
        if (text_[scanned_] == '\r') carriage_return_met_ = true;
        if (text_[scanned_] != '\n') continue;
        add_line(unsplit_, scanned_);
        unsplit_ = scanned_ + 1;
    }
    // The last line, when no line feed ends it.
    if (unsplit_ < text_.size()) add_line(unsplit_, text_.size());
    unsplit_ = text_.size();
}

bool DocumentLines::split_to(std::size_t i) {
    if (i < first_) return false;
    if (head_ > 0 && head_ >= held_.size() / 2) {
        held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(head_));
        head_ = 0;
    }
    // A few lines more than asked for at once: a parse reads on line by line.
    constexpr std::size_t ahead = 16;
    while (end_line() <= i + ahead && unsplit_ < text_.size()) split_block();
    return i < end_line();
}

void DocumentLines::drop_unsplit(std::size_t i) {
    has(i - 1);  // lines not split yet are dropped all the same
    const std::size_t dropped = std::min(i - first_, held_.size() - head_);
    head_ += dropped;
    first_ += dropped;
}

std::string document_directory(std::string_view path) {
    // Trailing separators do not make a component.
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    if (path.empty() || path == "/") return ".";
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return "";
    std::string_view parent = path.substr(0, slash);
    while (!parent.empty() && parent.back() == '/') parent.remove_suffix(1);
    return parent.empty() ? "/" : std::string(parent);
}

}  // namespace ilvex
