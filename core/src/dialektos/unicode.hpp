// The library's one Unicode layer: decoding UTF-8, the character classes the
// language uses, trimming by White_Space and NFC. Nothing else calls ICU.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ilvex::unicode {

// Decodes the character starting at byte `i` of `text` and advances `i` past
// it. An ill-formed sequence decodes to U+FFFD and advances by its length.
char32_t next_char(std::string_view text, std::size_t& i);

// Decodes the character ending just before byte `i` and moves `i` to its start.
char32_t prev_char(std::string_view text, std::size_t& i);

// The byte length of the character starting at byte `i`.
std::size_t char_length_at(std::string_view text, std::size_t i);

void append_utf8(std::string& out, char32_t c);

bool is_valid_utf8(std::string_view text);

// Whether every byte is below 0x80.
bool is_ascii(std::string_view text);

std::size_t char_count(std::string_view text);

bool is_alphabetic(char32_t c);
// Alphabetic, or general category Nd, Nl or No.
bool is_alphanumeric(char32_t c);
bool is_whitespace(char32_t c);
bool is_uppercase(char32_t c);
bool is_grapheme_extend(char32_t c);
// Not a control, format, surrogate, private-use or unassigned code point and
// not a separator, except U+0020 SPACE. Decides what debug text writes as is.
bool is_printable(char32_t c);

// `text` with the ASCII letters A-Z lower-cased; every other byte kept.
std::string ascii_lowercase(std::string_view text);

// `text` with the full Unicode lower-case mapping, independent of locale
// ("Ä" gives "ä"). An ill-formed sequence becomes U+FFFD.
std::string lowercase(std::string_view text);

// Trimming removes White_Space characters.
std::string_view trim(std::string_view text);
std::string_view trim_start(std::string_view text);
std::string_view trim_end(std::string_view text);

// Canonical composition (NFC).
std::string nfc(std::string_view text);
// Whether `text` is already in NFC, so that nfc would return it unchanged.
bool is_nfc(std::string_view text);

}  // namespace ilvex::unicode
