#include <gtest/gtest.h>

#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

TEST(Unicode, DecodesAndEncodes) {
    const std::string text = "aé€😀";
    std::size_t i = 0;
    std::u32string decoded;
    while (i < text.size()) decoded.push_back(unicode::next_char(text, i));
    EXPECT_EQ(decoded, U"aé€😀");
    std::string encoded;
    for (char32_t c : decoded) unicode::append_utf8(encoded, c);
    EXPECT_EQ(encoded, text);
    std::size_t end = text.size();
    EXPECT_EQ(unicode::prev_char(text, end), U'😀');
    EXPECT_EQ(end, text.size() - 4);
    EXPECT_EQ(unicode::char_count(text), 4u);
}

TEST(Unicode, IllFormedInputDecodesToReplacement) {
    const std::string bad = "\xC3";
    std::size_t i = 0;
    EXPECT_EQ(unicode::next_char(bad, i), U'\uFFFD');
    EXPECT_EQ(i, 1u);
    EXPECT_FALSE(unicode::is_valid_utf8("a\xFF"));
    EXPECT_FALSE(unicode::is_valid_utf8("\xED\xA0\x80"));  // an encoded surrogate
    EXPECT_TRUE(unicode::is_valid_utf8("ok é"));
}

TEST(Unicode, TrimsWhiteSpaceOnly) {
    EXPECT_EQ(unicode::trim(" \t\u00A0x y\r\u2003"), "x y");
    EXPECT_EQ(unicode::trim_start("  x "), "x ");
    EXPECT_EQ(unicode::trim_end("  x \r"), "  x");
    EXPECT_EQ(unicode::trim("\u200B x"), "\u200B x");  // zero width space is not White_Space
    EXPECT_EQ(unicode::trim(""), "");
}

// Trimming tells most characters from White_Space by their first or last
// bytes: every White_Space character beyond ASCII goes, and characters that
// share a first byte with one, other scripts, four-byte characters and
// ill-formed bytes all stay, at either end.
TEST(Unicode, TrimsEveryWhiteSpaceCharacterAndStopsAtOthers) {
    const struct {
        std::string_view piece;
        bool white_space;
    } rows[] = {
        {"\u0085", true},  {"\u00A0", true},  {"\u1680", true},  {"\u2000", true},
        {"\u200A", true},  {"\u2028", true},  {"\u2029", true},  {"\u202F", true},
        {"\u205F", true},  {"\u3000", true},  {"\u00A1", false}, {"\u1681", false},
        {"\u2010", false}, {"\u3001", false}, {"\u0915", false}, {"\u00C0", false},
        {"\u0800", false}, {"\uFFFD", false}, {"\U0001F600", false}, {"\x7F", false},
        {"\xA0", false},   {"\xC2", false},   {"\xE2\x80", false}, {"\xE0\xA4", false},
        {"\xF0\x9F\x98", false}, {"\x85\x85\x85\x85", false},
    };
    for (const auto& row : rows) {
        const std::string piece(row.piece);
        const std::string at_start = piece + "x";
        const std::string at_end = "x" + piece;
        EXPECT_EQ(unicode::trim_start(at_start), row.white_space ? "x" : at_start) << piece;
        EXPECT_EQ(unicode::trim_end(at_end), row.white_space ? "x" : at_end) << piece;
        EXPECT_EQ(unicode::trim(piece + piece), row.white_space ? "" : piece + piece) << piece;
    }
}

TEST(Unicode, Nfc) {
    EXPECT_EQ(unicode::nfc("e\u0301"), "\u00E9");
    EXPECT_EQ(unicode::nfc("plain"), "plain");
    EXPECT_EQ(unicode::nfc("\u00E9"), "\u00E9");
    EXPECT_EQ(unicode::nfc("\u212B"), "\u00C5");  // ANGSTROM SIGN
}

TEST(Unicode, Utf16Nfc) {
    // The prefix surely in NFC stops where the rest can be normalized on
    // its own: before the letter a following mark composes with.
    EXPECT_EQ(unicode::nfc_prefix(u"plain"), 5u);
    EXPECT_EQ(unicode::nfc_prefix(u"ab e\u0301"), 3u);
    char16_t out[4];
    EXPECT_EQ(unicode::nfc(u"e\u0301x", out, 4), 2u);
    EXPECT_EQ(std::u16string_view(out, 2), u"\u00E9x");
    // A length beyond the room says how much is needed; this ideograph's
    // canonical form lies beyond U+FFFF.
    EXPECT_EQ(unicode::nfc(u"\uFA6C\uFA6C\uFA6C", out, 4), 6u);
    EXPECT_EQ(unicode::nfc(u"\uFA6C", out, 4), 2u);
    EXPECT_EQ(std::u16string_view(out, 2), u"\U000242EE");
}

TEST(Unicode, IsNfcAgreesWithNfc) {
    // Plain, composed, decomposed, a singleton, a nukta NFC composes, and
    // ill-formed UTF-8.
    for (const std::string_view text :
         {"", "plain", "\u00E9", "e\u0301", "a\u212B", "\u0915\u093C", "\u0958x", "\xC3"}) {
        EXPECT_EQ(unicode::is_nfc(text), unicode::nfc(text) == text)
            << testing::PrintToString(std::string(text));
    }
    EXPECT_TRUE(unicode::is_nfc("\u00E9"));
    EXPECT_FALSE(unicode::is_nfc("e\u0301"));
}

}  // namespace
}  // namespace ilvex
