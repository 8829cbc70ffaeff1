#include "parser/inline_scanner.hpp"

#include <algorithm>
#include <string>

#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

std::size_t count_chars(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) unicode::next_char(text, i);
    return count;
}

}  // namespace

std::optional<std::string_view> read_until(InlineScanner& scanner, std::string_view delimiter) {
    if (scanner.at_end()) return std::nullopt;
    const auto found = scanner.text.find(delimiter, scanner.pos);
    if (found == std::string_view::npos) {
        scanner.pos = scanner.text.size();
        return std::nullopt;
    }
    const std::string_view between = scanner.text.substr(scanner.pos, found - scanner.pos);
    scanner.pos = found + delimiter.size();
    return between;
}

ErrorLocation location_at(const InlineScanner& scanner, std::size_t offset) {
    const std::string_view before = scanner.text.substr(0, std::min(offset, scanner.text.size()));
    const auto newlines =
        static_cast<std::uint64_t>(std::count(before.begin(), before.end(), '\n'));
    const auto last_newline = before.rfind('\n');
    const std::string_view line_so_far =
        last_newline == std::string_view::npos ? before : before.substr(last_newline + 1);
    return ErrorLocation{std::string(scanner.path), scanner.base_line + 1 + newlines,
                         1 + count_chars(line_so_far)};
}

ErrorLocation cursor_position(const InlineScanner& scanner) {
    return location_at(scanner, scanner.pos);
}

Error error_at(const InlineScanner& scanner, std::size_t offset, Error error) {
    error.location = location_at(scanner, offset);
    return error;
}

Error error_here(const InlineScanner& scanner, Error error) {
    return error_at(scanner, scanner.pos, std::move(error));
}

}  // namespace ilvex
