#include "endo/light_markup/light_markup.hpp"

#include <algorithm>
#include <limits>

#include "dialektos/byte_set.hpp"
#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

bool is_opening_punctuation(char32_t c) {
    return c == '"' || c == '\'' || c == '(' || c == '[' || c == '{';
}

bool is_ascii_letter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool is_scheme_char(char32_t c) {
    return is_ascii_letter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// Whether byte i can close a span of the character found there: what
// precedes it is not white space, and it ends the text or is followed by
// white space or ASCII punctuation.
bool can_close(std::string_view text, std::size_t i) {
    if (i == 0) return false;
    std::size_t before = i;
    if (unicode::is_whitespace(unicode::prev_char(text, before))) return false;
    std::size_t after = i + 1;
    if (after == text.size()) return true;
    const char32_t next = unicode::next_char(text, after);
    return unicode::is_whitespace(next) || is_ascii_punctuation(next);
}

bool is_valid_scheme(std::u32string_view scheme) {
    if (scheme.empty() || !is_ascii_letter(scheme[0])) return false;
    for (const char32_t c : scheme) {
        if (!is_scheme_char(c)) return false;
    }
    return true;
}

}  // namespace

bool is_ascii_punctuation(char32_t c) {
    return (c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
           (c >= 0x7B && c <= 0x7E);
}

bool opens_emphasis(std::string_view text, std::size_t index) {
    if (index >= text.size() || index + 1 == text.size()) return false;
    if (index > 0) {
        std::size_t i = index;
        const char32_t before = unicode::prev_char(text, i);
        if (!unicode::is_whitespace(before) && !is_opening_punctuation(before)) return false;
    }
    std::size_t i = index + 1;
    const char32_t next = unicode::next_char(text, i);
    return !unicode::is_whitespace(next) && next != static_cast<unsigned char>(text[index]);
}

ClosingDelimiterIndex::ClosingDelimiterIndex(std::string_view text, std::string_view delimiters)
    : text_(text), delimiters_(delimiters), closers_(delimiters.size()) {
    const ByteSet wanted(delimiters);
    for (std::size_t i = wanted.find_in(text); i < text.size(); i = wanted.find_in(text, i + 1)) {
        if (can_close(text, i)) closers_[delimiters_.find(text[i])].push_back(i);
    }
}

std::optional<std::size_t> ClosingDelimiterIndex::find_closing_delimiter(std::size_t index) const {
    if (index >= text_.size()) return std::nullopt;
    const std::size_t slot = delimiters_.find(text_[index]);
    if (slot == std::string::npos) return std::nullopt;
    const std::vector<std::size_t>& closers = closers_[slot];
    const auto next = std::upper_bound(closers.begin(), closers.end(), index);
    if (next == closers.end()) return std::nullopt;
    return *next;
}

std::optional<Autolink> autolink_at(std::u32string_view chars, std::size_t index) {
    const auto end = autolink_end(chars, index);
    if (!end) return std::nullopt;
    std::string target;
    for (const char32_t c : chars.substr(index + 1, *end - index - 2)) unicode::append_utf8(target, c);
    return Autolink{std::move(target), *end};
}

std::optional<std::size_t> autolink_end(std::u32string_view chars, std::size_t index) {
    // The scan stops at the first white space or "<" too: either would be
    // part of the inner text and rule the autolink out, and stopping there
    // keeps a caller that tries every "<" linear.
    if (index >= chars.size()) return std::nullopt;
    std::size_t gt = index + 1;
    while (gt < chars.size() && chars[gt] != '>') {
        if (unicode::is_whitespace(chars[gt]) || chars[gt] == '<') return std::nullopt;
        ++gt;
    }
    if (gt >= chars.size()) return std::nullopt;
    const std::u32string_view inner = chars.substr(index + 1, gt - index - 1);
    const std::size_t colon = inner.find(U':');
    if (colon == std::u32string_view::npos || colon == 0 || colon + 1 == inner.size()) {
        return std::nullopt;
    }
    if (!is_valid_scheme(inner.substr(0, colon))) return std::nullopt;
    return gt + 1;
}

std::optional<OrderedItemMarker> ordered_item_marker(std::string_view line) {
    std::size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
    if (digits == 0) return std::nullopt;
    const std::string_view marker = line.substr(digits, 2);
    if (marker != ". " && marker != ") ") return std::nullopt;
    constexpr std::uint64_t max = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t number = 0;
    for (const char b : line.substr(0, digits)) {
        const auto digit = static_cast<std::uint64_t>(b - '0');
        if (number > (max - digit) / 10) return std::nullopt;
        number = number * 10 + digit;
    }
    return OrderedItemMarker{number, line.substr(digits + 2)};
}

}  // namespace ilvex
