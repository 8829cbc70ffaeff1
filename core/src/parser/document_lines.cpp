#include "parser/document_lines.hpp"

#include "dialektos/byte_set.hpp"

namespace ilvex {

std::vector<std::string_view> split_document_lines(std::string_view text) {
    // Lines are short: an inline block scan finds each line feed faster
    // than a call to memchr would.
    constexpr ByteSet line_feed("\n");
    std::vector<std::string_view> lines;
    lines.reserve(line_feed.count_in(text) + 1);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = line_feed.find_in(text, start);
        std::size_t content_end = end;
        while (content_end > start && text[content_end - 1] == '\r') --content_end;
        lines.push_back(text.substr(start, content_end - start));
        start = end + 1;
    }
    return lines;
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
