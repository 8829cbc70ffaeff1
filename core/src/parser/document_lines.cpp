#include "parser/document_lines.hpp"

#include <algorithm>

#include "dialektos/byte_set.hpp"

namespace ilvex {

namespace {

// Lines are short: an inline block scan finds each line feed faster than a
// call to memchr would.
constexpr ByteSet line_feed("\n");

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

bool DocumentLines::split_to(std::size_t i) {
    // A few lines more than asked for at once: a parse reads on line by line.
    constexpr std::size_t ahead = 32;
    while (first_ + held_.size() <= i + ahead && unsplit_ < text_.size()) {
        const DocumentLine line = document_line_at(text_, unsplit_);
        held_.push_back(line.text);
        unsplit_ = line.next;
    }
    return i >= first_ && i < first_ + held_.size();
}

void DocumentLines::drop_before(std::size_t i) {
    if (i <= first_) return;
    has(i - 1);  // lines not split yet are dropped all the same
    const std::size_t dropped = std::min(i - first_, held_.size());
    held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(dropped));
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
