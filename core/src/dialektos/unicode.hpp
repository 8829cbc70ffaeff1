// The library's one Unicode layer: decoding UTF-8, the character classes the
// language uses, trimming by White_Space and NFC. Nothing else calls ICU.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ilvex::unicode {

// The parts of the functions below that go beyond ASCII. The parser calls
// the functions for nearly every character it reads, and nearly every one
// is ASCII: that case is answered inline, without a call.
namespace beyond_ascii {
char32_t next_char(std::string_view text, std::size_t& i);
bool is_alphabetic(char32_t c);
bool is_alphanumeric(char32_t c);
bool is_whitespace(char32_t c);
bool is_uppercase(char32_t c);
std::string_view trim_start(std::string_view text);
std::string_view trim_end(std::string_view text);
}  // namespace beyond_ascii

// Decodes the character starting at byte `i` of `text` and advances `i` past
// it. An ill-formed sequence decodes to U+FFFD and advances by its length.
inline char32_t next_char(std::string_view text, std::size_t& i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
        ++i;
        return b;
    }
    return beyond_ascii::next_char(text, i);
}

// Decodes the character ending just before byte `i` and moves `i` to its start.
char32_t prev_char(std::string_view text, std::size_t& i);

// The byte length of the character starting at byte `i`.
inline std::size_t char_length_at(std::string_view text, std::size_t i) {
    std::size_t j = i;
    next_char(text, j);
    return j - i;
}

void append_utf8(std::string& out, char32_t c);

bool is_valid_utf8(std::string_view text);

// Whether every byte is below 0x80.
bool is_ascii(std::string_view text);

inline std::size_t char_count(std::string_view text) {
    std::size_t count = 0;
    for (const char b : text) {
        if ((static_cast<unsigned char>(b) & 0xC0) != 0x80) ++count;
    }
    return count;
}

inline bool is_alphabetic(char32_t c) {
    if (c < 0x80) return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
    return beyond_ascii::is_alphabetic(c);
}
// Alphabetic, or general category Nd, Nl or No.
inline bool is_alphanumeric(char32_t c) {
    if (c < 0x80) return ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') || (c >= '0' && c <= '9');
    return beyond_ascii::is_alphanumeric(c);
}
inline bool is_whitespace(char32_t c) {
    if (c < 0x80) return c == ' ' || (c >= '\t' && c <= '\r');
    return beyond_ascii::is_whitespace(c);
}
inline bool is_uppercase(char32_t c) {
    if (c < 0x80) return c >= 'A' && c <= 'Z';
    return beyond_ascii::is_uppercase(c);
}
bool is_grapheme_extend(char32_t c);
// Not a control, format, surrogate, private-use or unassigned code point and
// not a separator, except U+0020 SPACE. Decides what debug text writes as is.
bool is_printable(char32_t c);

// `text` with the ASCII letters A-Z lower-cased; every other byte kept.
std::string ascii_lowercase(std::string_view text);

// `text` with the full Unicode lower-case mapping, independent of locale
// ("Ä" gives "ä"). An ill-formed sequence becomes U+FFFD.
std::string lowercase(std::string_view text);

// Whether the first character of `text` (not empty) is told from White_Space
// by its first byte: every White_Space character beyond ASCII begins with
// 0xC2, 0xE1, 0xE2 or 0xE3, and a byte that begins no well-formed character
// decodes to U+FFFD, which is none either. Lines are trimmed at both ends,
// and in most scripts this spares decoding and a property lookup.
inline bool begins_without_space(std::string_view text) {
    const auto b = static_cast<unsigned char>(text.front());
    if (b < 0x80) return b > 0x20;
    return b != 0xC2 && (b < 0xE1 || b > 0xE3);
}

// The same for the last character of `text` (not empty), when its bytes
// are one whole sequence of the length its first byte gives; otherwise
// false, and the decoder judges.
inline bool ends_without_space(std::string_view text) {
    const auto last = static_cast<unsigned char>(text.back());
    if (last < 0x80) return last > 0x20;
    std::size_t length = 1;
    while (length < 4 && length < text.size() && (static_cast<unsigned char>(text[text.size() - length]) & 0xC0) == 0x80) {
        ++length;
    }
    const auto lead = static_cast<unsigned char>(text[text.size() - length]);
    const std::size_t expected = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    return expected == length && lead != 0xC2 && (lead < 0xE1 || lead > 0xE3);
}

// Trimming removes White_Space characters.
inline std::string_view trim_start(std::string_view text) {
    if (text.empty() || begins_without_space(text)) return text;
    return beyond_ascii::trim_start(text);
}
inline std::string_view trim_end(std::string_view text) {
    if (text.empty() || ends_without_space(text)) return text;
    return beyond_ascii::trim_end(text);
}
inline std::string_view trim(std::string_view text) { return trim_end(trim_start(text)); }

// Canonical composition (NFC).
std::string nfc(std::string_view text);
// Whether `text` is already in NFC, so that nfc would return it unchanged.
bool is_nfc(std::string_view text);

// The same for UTF-16, for text that comes in it (a Python `str` of
// characters below U+10000 is such text, unless it holds surrogates).
// The length of the longest prefix of `text` that is surely in NFC and ends
// where the rest can be normalized on its own.
std::size_t nfc_prefix(std::u16string_view text);
// Writes the NFC of `text` to `out`, which has room for `room` units, and
// returns its length; a length above `room` means that it did not fit and
// `out` holds nothing of use.
std::size_t nfc(std::u16string_view text, char16_t* out, std::size_t room);

}  // namespace ilvex::unicode
