#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <random>
#include <string>
#include <utility>

#include "dialektos/unicode.hpp"
#include "endo/light_markup/light_markup.hpp"

namespace ilvex {
namespace {

// The UTF-8 form of `chars`, and the byte offset of its character `index`
// (an index past the end stays as far past the end in bytes).
std::pair<std::string, std::size_t> in_bytes(std::u32string_view chars, std::size_t index) {
    std::string text;
    std::size_t byte = 0;
    for (std::size_t k = 0; k < chars.size(); ++k) {
        if (k == index) byte = text.size();
        unicode::append_utf8(text, chars[k]);
    }
    if (index >= chars.size()) byte = text.size() + (index - chars.size());
    return {text, byte};
}

struct PositionCase {
    std::u32string chars;
    std::size_t index;
    bool expected;
};

TEST(OpensEmphasis, NeighbourRules) {
    const PositionCase cases[] = {
        {U"*a", 0, true},
        {U"a*b", 1, false},
        {U" *a", 1, true},
        {U"\u00A0*a", 1, true},  // any White_Space before
        {U"(*a", 1, true},
        {U"\"*a", 1, true},
        {U"'*a", 1, true},
        {U"[*a", 1, true},
        {U"{*a", 1, true},
        {U".*a", 1, false},  // other punctuation does not qualify
        {U"<*a", 1, false},
        {U"**a", 0, false},  // followed by the same delimiter
        {U"**a", 1, false},  // preceded by a star
        {U"*_a", 0, true},   // a different delimiter may follow
        {U"a *", 2, false},  // the last character
        {U"*", 0, false},
        {U"* a", 0, false},
        {U"*\n", 0, false},
        {U"*a", 2, false},  // past the end
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const auto [text, index] = in_bytes(cases[k].chars, cases[k].index);
        EXPECT_EQ(opens_emphasis(text, index), cases[k].expected)
            << "case " << k;
    }
}

struct CloserCase {
    std::u32string chars;
    std::size_t index;
    std::optional<std::size_t> expected;
};

TEST(FindClosingDelimiter, Cases) {
    const CloserCase cases[] = {
        {U"*a *b*", 0, 5},  // the star after a space is passed over
        {U"*a*b", 0, std::nullopt},
        {U"*a*.", 0, 2},
        {U"*a*) b", 0, 2},
        {U"**", 0, 1},
        {U"*", 0, std::nullopt},
        {U"*a* b*", 0, 2},
        {U"*a*\u00A0", 0, 2},
        {U"*a*\u00E9", 0, std::nullopt},  // a letter after the closer
        {U"*a*b* c", 0, 4},
        {U"*a_b* _c_", 0, 4},
        {U"*a_b* _c_", 2, 8},
        {U"*a_b* _c_", 6, 8},
        {U"a*", 1, std::nullopt},
        {U"*a", 5, std::nullopt},  // past the end
        {U"a*a*", 0, std::nullopt},  // not a delimiter asked about
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const auto [text, index] = in_bytes(cases[k].chars, cases[k].index);
        const ClosingDelimiterIndex closers(text, "*_");
        std::optional<std::size_t> expected;
        if (cases[k].expected) expected = in_bytes(cases[k].chars, *cases[k].expected).second;
        EXPECT_EQ(closers.find_closing_delimiter(index), expected) << "case " << k;
    }
}

// The forward scan the index stands for, checked against it at every
// delimiter of random texts over `alphabet` below (whose ASCII punctuation is "*_.").
std::optional<std::size_t> scan_for_closer(std::u32string_view chars, std::size_t index) {
    for (std::size_t i = index + 1; i < chars.size(); ++i) {
        if (chars[i] != chars[index] || unicode::is_whitespace(chars[i - 1])) continue;
        if (i + 1 == chars.size() || unicode::is_whitespace(chars[i + 1]) ||
            chars[i + 1] == U'.' || chars[i + 1] == U'*' || chars[i + 1] == U'_') {
            return i;
        }
    }
    return std::nullopt;
}

TEST(FindClosingDelimiter, IndexAgreesWithTheScan) {
    const std::u32string alphabet = U"*_a .\u00E9";
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(1, 24);
    for (int round = 0; round < 5000; ++round) {
        std::u32string chars;
        for (int n = length(random); n > 0; --n) chars += alphabet[pick(random)];
        const std::string text = in_bytes(chars, 0).first;
        const ClosingDelimiterIndex closers(text, "*_");
        for (std::size_t i = 0; i < chars.size(); ++i) {
            if (chars[i] != U'*' && chars[i] != U'_') continue;
            std::optional<std::size_t> expected = scan_for_closer(chars, i);
            if (expected) expected = in_bytes(chars, *expected).second;
            ASSERT_EQ(closers.find_closing_delimiter(in_bytes(chars, i).second), expected)
                << "round " << round << " index " << i;
        }
    }
}

struct AutolinkCase {
    std::u32string chars;
    std::size_t index;
    std::optional<std::pair<std::string, std::size_t>> expected;
};

TEST(AutolinkAt, Shapes) {
    const AutolinkCase cases[] = {
        {U"<ab+c.d-e:f/g?h>", 0, {{"ab+c.d-e:f/g?h", 16}}},
        {U"<a:b>", 0, {{"a:b", 5}}},
        {U"x <a:b:c> y", 2, {{"a:b:c", 9}}},
        {U"<mailto:\u00E9t\u00E9>", 0, {{"mailto:\u00E9t\u00E9", 12}}},
        {U"<a:b>>", 0, {{"a:b", 5}}},
        {U"<a :b>", 0, std::nullopt},
        {U"<a:\u00A0b>", 0, std::nullopt},
        {U"<a b> <c:d>", 0, std::nullopt},  // no search past the first ">"
        {U"<a:<b>", 0, std::nullopt},
        {U"<1a:b>", 0, std::nullopt},
        {U"<a_b:c>", 0, std::nullopt},
        {U"<\u00E9:b>", 0, std::nullopt},
        {U"<:ab>", 0, std::nullopt},
        {U"<ab:>", 0, std::nullopt},
        {U"<ab>", 0, std::nullopt},
        {U"<>", 0, std::nullopt},
        {U"<a:b", 0, std::nullopt},
        {U"<", 0, std::nullopt},
        {U"<a:b>", 9, std::nullopt},  // past the end
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const AutolinkCase& c = cases[k];
        const auto link = autolink_at(c.chars, c.index);
        ASSERT_EQ(link.has_value(), c.expected.has_value()) << "case " << k;
        if (link) {
            EXPECT_EQ(link->target, c.expected->first) << "case " << k;
            EXPECT_EQ(link->end, c.expected->second) << "case " << k;
        }
    }
}

TEST(OrderedItemMarker, Markers) {
    struct Case {
        std::string line;
        std::optional<std::pair<std::uint64_t, std::string_view>> expected;
    };
    const Case cases[] = {
        {"12. text", {{12, "text"}}},
        {"3) x", {{3, "x"}}},
        {"1.  two spaces", {{1, " two spaces"}}},
        {"7. ", {{7, ""}}},
        {"007. x", {{7, "x"}}},
        {"18446744073709551615. max", {{18446744073709551615u, "max"}}},
        {"18446744073709551616. x", std::nullopt},
        {"99999999999999999999. x", std::nullopt},
        {"1.", std::nullopt},
        {"1", std::nullopt},
        {"1.x", std::nullopt},
        {"1)x", std::nullopt},
        {"1 . x", std::nullopt},
        {"1:  x", std::nullopt},
        {"a. x", std::nullopt},
        {"-1. x", std::nullopt},
        {"\u0661. x", std::nullopt},  // ARABIC-INDIC DIGIT ONE
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto marker = ordered_item_marker(c.line);
        ASSERT_EQ(marker.has_value(), c.expected.has_value()) << c.line;
        if (marker) {
            EXPECT_EQ(marker->number, c.expected->first) << c.line;
            EXPECT_EQ(marker->rest, c.expected->second) << c.line;
        }
    }
}

double seconds_for(const auto& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count();
}

// An importer asks at every delimiter and every "<"; a megabyte of either
// must take milliseconds, not the minutes of a rescan per question.
TEST(LightMarkup, MegabyteInputsTakeLinearTime) {
    std::string delimiters;
    while (delimiters.size() < 1'000'000) delimiters += "_a ";
    EXPECT_LT(seconds_for([&] {
                  const ClosingDelimiterIndex closers(delimiters, "_");
                  std::size_t found = 0;
                  for (std::size_t i = 0; i < delimiters.size(); ++i) {
                      if (opens_emphasis(delimiters, i) && closers.find_closing_delimiter(i)) {
                          ++found;
                      }
                  }
                  EXPECT_EQ(found, 0u);
              }),
              1.0);
    for (const std::u32string_view piece : {U"<", U"<a:"}) {
        std::u32string angles;
        while (angles.size() < 1'000'000) angles += piece;
        EXPECT_LT(seconds_for([&] {
                      for (std::size_t i = 0; i < angles.size(); ++i) {
                          EXPECT_FALSE(autolink_at(angles, i).has_value());
                      }
                  }),
                  1.0);
    }
}

}  // namespace
}  // namespace ilvex
