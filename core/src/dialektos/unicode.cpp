#include "dialektos/unicode.hpp"

#include <unicode/bytestream.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/stringpiece.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/unorm2.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace ilvex::unicode {

// Eight bytes at a time: the test runs over every text that is checked.
bool is_ascii(std::string_view text) {
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if (word & 0x8080808080808080u) return false;
    }
    for (; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
    }
    return true;
}

char32_t beyond_ascii::next_char(std::string_view text, std::size_t& i) {
    const auto* s = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    auto pos = static_cast<std::int32_t>(i);
    UChar32 c;
    U8_NEXT_OR_FFFD(s, pos, length, c);
    i = static_cast<std::size_t>(pos);
    return static_cast<char32_t>(c);
}

char32_t prev_char(std::string_view text, std::size_t& i) {
    const auto b = static_cast<unsigned char>(text[i - 1]);
    if (b < 0x80) {
        --i;
        return b;
    }
    const auto* s = reinterpret_cast<const std::uint8_t*>(text.data());
    auto pos = static_cast<std::int32_t>(i);
    UChar32 c;
    U8_PREV_OR_FFFD(s, 0, pos, c);
    i = static_cast<std::size_t>(pos);
    return static_cast<char32_t>(c);
}

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
        return;
    }
    std::uint8_t buffer[U8_MAX_LENGTH];
    std::int32_t length = 0;
    UBool error = false;
    U8_APPEND(buffer, length, U8_MAX_LENGTH, static_cast<UChar32>(c), error);
    if (error) throw std::logic_error("cannot encode a character as UTF-8");
    out.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(length));
}

bool is_valid_utf8(std::string_view text) {
    const auto* s = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t i = 0;
    while (i < length) {
        if (s[i] < 0x80) {
            ++i;
            continue;
        }
        UChar32 c;
        U8_NEXT(s, i, length, c);
        if (c < 0) return false;
    }
    return true;
}

bool beyond_ascii::is_alphabetic(char32_t c) {
    return u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_ALPHABETIC);
}

bool beyond_ascii::is_alphanumeric(char32_t c) {
    if (u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_ALPHABETIC)) return true;
    const auto category = u_charType(static_cast<UChar32>(c));
    return category == U_DECIMAL_DIGIT_NUMBER || category == U_LETTER_NUMBER ||
           category == U_OTHER_NUMBER;
}

bool beyond_ascii::is_whitespace(char32_t c) {
    return u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_WHITE_SPACE);
}

bool beyond_ascii::is_uppercase(char32_t c) {
    return u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_UPPERCASE);
}

bool is_grapheme_extend(char32_t c) {
    if (c < 0x80) return false;
    return u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_GRAPHEME_EXTEND);
}

bool is_printable(char32_t c) {
    if (c < 0x80) return c >= 0x20 && c < 0x7F;
    switch (u_charType(static_cast<UChar32>(c))) {
        case U_CONTROL_CHAR:
        case U_FORMAT_CHAR:
        case U_SURROGATE:
        case U_PRIVATE_USE_CHAR:
        case U_UNASSIGNED:
        case U_SPACE_SEPARATOR:
        case U_LINE_SEPARATOR:
        case U_PARAGRAPH_SEPARATOR: return false;
        default: return true;
    }
}

std::string ascii_lowercase(std::string_view text) {
    std::string out(text);
    for (char& b : out) {
        if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    }
    return out;
}

std::string lowercase(std::string_view text) {
    if (is_ascii(text)) return ascii_lowercase(text);
    std::string out;
    icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<std::int32_t>(text.size())))
        .toLower(icu::Locale::getRoot())
        .toUTF8String(out);
    return out;
}

std::string_view beyond_ascii::trim_start(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        // Every line is trimmed: ASCII is told apart without decoding.
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if (!unicode::is_whitespace(byte)) break;
            ++i;
            continue;
        }
        std::size_t next = i;
        if (!unicode::is_whitespace(next_char(text, next))) break;
        i = next;
    }
    return text.substr(i);
}

std::string_view beyond_ascii::trim_end(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0) {
        std::size_t start = end;
        if (!unicode::is_whitespace(prev_char(text, start))) break;
        end = start;
    }
    return text.substr(0, end);
}

namespace {

const icu::Normalizer2& nfc_normalizer() {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* normalizer = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) throw std::runtime_error("the NFC normalizer is unavailable");
    return *normalizer;
}

}  // namespace

bool is_nfc(std::string_view text) {
    if (is_ascii(text)) return true;
    UErrorCode status = U_ZERO_ERROR;
    const icu::StringPiece piece(text.data(), static_cast<std::int32_t>(text.size()));
    return nfc_normalizer().isNormalizedUTF8(piece, status) && U_SUCCESS(status);
}

std::string nfc(std::string_view text) {
    if (is_nfc(text)) return std::string(text);
    const icu::Normalizer2* normalizer = &nfc_normalizer();
    const icu::StringPiece piece(text.data(), static_cast<std::int32_t>(text.size()));
    UErrorCode status = U_ZERO_ERROR;
    std::string out;
    out.reserve(text.size());
    icu::StringByteSink<std::string> sink(&out);
    normalizer->normalizeUTF8(0, piece, sink, nullptr, status);
    if (U_FAILURE(status)) throw std::runtime_error("NFC normalization failed");
    return out;
}

namespace {

// The same normalizer through the interface that reads and writes plain
// UTF-16 arrays.
const UNormalizer2* nfc_normalizer_c() {
    static const UNormalizer2* const normalizer = [] {
        UErrorCode status = U_ZERO_ERROR;
        const UNormalizer2* instance = unorm2_getNFCInstance(&status);
        if (U_FAILURE(status)) throw std::runtime_error("the NFC normalizer is unavailable");
        return instance;
    }();
    return normalizer;
}

std::int32_t utf16_length(std::size_t length) {
    if (length > static_cast<std::size_t>(INT32_MAX)) throw std::length_error("text too long to normalize");
    return static_cast<std::int32_t>(length);
}

}  // namespace

std::size_t nfc_prefix(std::u16string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    const std::int32_t span =
        unorm2_spanQuickCheckYes(nfc_normalizer_c(), text.data(), utf16_length(text.size()), &status);
    return U_SUCCESS(status) ? static_cast<std::size_t>(span) : 0;
}

std::size_t nfc(std::u16string_view text, char16_t* out, std::size_t room) {
    UErrorCode status = U_ZERO_ERROR;
    const std::int32_t capacity = utf16_length(std::min<std::size_t>(room, INT32_MAX));
    const std::int32_t length =
        unorm2_normalize(nfc_normalizer_c(), text.data(), utf16_length(text.size()), out, capacity, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) return static_cast<std::size_t>(length);
    if (U_FAILURE(status)) throw std::runtime_error("NFC normalization failed");
    return static_cast<std::size_t>(length);
}

}  // namespace ilvex::unicode
