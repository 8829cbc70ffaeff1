// The lexical rules of the language: symbol characters, names, onyms,
// genoses, milestone values, and the derivation of a sim's closing symbol.
#pragma once

#include <string>
#include <string_view>

#include "dialektos/byte_set.hpp"

namespace ilvex {

// Not alphanumeric, not White_Space, not '@' and not '\'.
bool is_symbol_char(char32_t c);

// The ASCII characters for which is_symbol_char holds.
inline constexpr ByteSet ascii_symbol_chars = [] {
    ByteSet set;
    for (char c = 0x21; c < 0x7F; ++c) {
        const bool alphanumeric = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!alphanumeric && c != '@' && c != '\\') set.add(c);
    }
    set.add('\x00');
    for (char c = 0x01; c < 0x20; ++c) {
        if (c < '\t' || c > '\r') set.add(c);
    }
    set.add('\x7F');
    return set;
}();

// Byte length of the leading run of symbol characters of `text`.
std::size_t symbol_run_length(std::string_view text);

// Sim names, localized names and dialektos ids: alphanumerics and '-',
// first and last alphanumeric.
bool is_valid_name(std::string_view s);

// Runs of alphanumerics joined by single '-', '.', ':' or '_'.
bool is_valid_onym(std::string_view s);

// Lower-case identifiers: a non-uppercase letter first, then non-uppercase
// alphanumerics and single inner hyphens.
bool is_valid_genos(std::string_view s);

// One or more onyms joined by '|', optionally after a leading "^|".
bool is_valid_milestone_value(std::string_view s);

// The closing symbol of `symbol`: its characters reversed, brackets swapped
// with their partners when `mirrored`; a "{name}" reference is its own episim.
std::string episim_symbol(std::string_view symbol, bool mirrored);

}  // namespace ilvex
