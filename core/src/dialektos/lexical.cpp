#include "dialektos/lexical.hpp"

#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

bool is_onym_separator(char32_t c) { return c == '-' || c == '.' || c == ':' || c == '_'; }

char32_t bracket_partner(char32_t c) {
    switch (c) {
        case '(': return ')';
        case ')': return '(';
        case '<': return '>';
        case '>': return '<';
        case '[': return ']';
        case ']': return '[';
        case '{': return '}';
        case '}': return '{';
        default: return c;
    }
}

}  // namespace

bool is_symbol_char(char32_t c) {
    return c != '@' && c != '\\' && !unicode::is_alphanumeric(c) && !unicode::is_whitespace(c);
}

std::size_t symbol_run_length(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        // Symbols are mostly ASCII punctuation, read here without decoding.
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if (!ascii_symbol_chars.contains(static_cast<char>(byte))) break;
            ++i;
            continue;
        }
        std::size_t next = i;
        if (!is_symbol_char(unicode::next_char(text, next))) break;
        i = next;
    }
    return i;
}

bool is_valid_name(std::string_view s) {
    if (s.empty()) return false;
    std::size_t i = 0;
    char32_t c = 0;
    bool first = true;
    while (i < s.size()) {
        c = unicode::next_char(s, i);
        const bool alnum = unicode::is_alphanumeric(c);
        if (first && !alnum) return false;
        if (!alnum && c != '-') return false;
        first = false;
    }
    return unicode::is_alphanumeric(c);
}

bool is_valid_onym(std::string_view s) {
    if (s.empty()) return false;
    std::size_t i = 0;
    bool after_alnum = false;
    while (i < s.size()) {
        const char32_t c = unicode::next_char(s, i);
        if (unicode::is_alphanumeric(c)) {
            after_alnum = true;
        } else if (is_onym_separator(c) && after_alnum) {
            after_alnum = false;
        } else {
            return false;
        }
    }
    return after_alnum;
}

bool is_valid_genos(std::string_view s) {
    if (s.empty()) return false;
    std::size_t i = 0;
    const char32_t first = unicode::next_char(s, i);
    const bool first_ok = first < 0x80 ? (first >= 'a' && first <= 'z')
                                       : unicode::is_alphabetic(first) && !unicode::is_uppercase(first);
    if (!first_ok) return false;
    char32_t previous = first;
    while (i < s.size()) {
        const char32_t c = unicode::next_char(s, i);
        if (c == '-') {
            if (previous == '-') return false;
        } else if (!unicode::is_alphanumeric(c) || unicode::is_uppercase(c)) {
            return false;
        }
        previous = c;
    }
    return previous != '-';
}

bool is_valid_milestone_value(std::string_view s) {
    if (s.empty()) return false;
    if (s.starts_with("^|") && s.size() > 2) s.remove_prefix(2);
    while (true) {
        const auto bar = s.find('|');
        if (!is_valid_onym(s.substr(0, bar))) return false;
        if (bar == std::string_view::npos) return true;
        s.remove_prefix(bar + 1);
    }
}

std::string episim_symbol(std::string_view symbol, bool mirrored) {
    if (!symbol.empty() && symbol.front() == '{' && symbol.back() == '}') return std::string(symbol);
    if (symbol.size() == 1 && static_cast<unsigned char>(symbol[0]) < 0x80) {
        // Most symbols are one ASCII character, their own reversal.
        return std::string(1, mirrored ? static_cast<char>(bracket_partner(static_cast<unsigned char>(symbol[0])))
                                       : symbol[0]);
    }
    std::string out;
    out.reserve(symbol.size());
    if (unicode::is_ascii(symbol)) {
        // Every character is one byte: reverse the bytes.
        for (auto c = symbol.rbegin(); c != symbol.rend(); ++c) {
            out += mirrored ? static_cast<char>(bracket_partner(static_cast<unsigned char>(*c))) : *c;
        }
        return out;
    }
    std::size_t end = symbol.size();
    while (end > 0) {
        const char32_t c = unicode::prev_char(symbol, end);
        unicode::append_utf8(out, mirrored ? bracket_partner(c) : c);
    }
    return out;
}

}  // namespace ilvex
