#include "dialektos/byte_set.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace ilvex {
namespace {

// A NUL byte among the members shows a short text's block padding read as text.
const std::string alphabet("ab@|\\\n\r*\x80\xFF\0", 11);

// The block scans must find what find_first_of finds, and count what a byte
// loop counts: at every offset of texts shorter than, equal to and longer
// than a block, from every start, for sets small enough for the block
// compare and too large for it.
TEST(ByteSet, FindsAndCountsWhatAByteLoopDoes) {
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        std::string members;
        const int size = 1 + static_cast<int>(random() % 10);
        for (int i = 0; i < size; ++i) members += alphabet[random() % alphabet.size()];
        const ByteSet set(members);
        std::string text(random() % 70, 'x');
        for (char& c : text) {
            if (random() % 6 == 0) c = alphabet[random() % alphabet.size()];
        }
        for (std::size_t from = 0; from <= text.size() + 1; ++from) {
            const std::size_t expected = std::min(std::string_view(text).find_first_of(members, from), text.size());
            ASSERT_EQ(set.find_in(text, from), expected) << "members " << members << " text " << text << " from " << from;
        }
        const auto counted = std::count_if(text.begin(), text.end(), [&](char c) { return members.find(c) != std::string::npos; });
        ASSERT_EQ(set.count_in(text), static_cast<std::size_t>(counted)) << "members " << members << " text " << text;
    }
}

TEST(FourBytes, FindsWhatFindFirstOfFinds) {
    std::mt19937 random(11);
    for (int round = 0; round < 3000; ++round) {
        std::string members;
        for (int i = 0; i < 4; ++i) members += alphabet[random() % alphabet.size()];
        const FourBytes set(members[0], members[1], members[2], members[3]);
        std::string text(random() % 40, 'x');
        for (char& c : text) {
            if (random() % 6 == 0) c = alphabet[random() % alphabet.size()];
        }
        for (std::size_t from = 0; from <= text.size() + 1; ++from) {
            const std::size_t expected = std::min(std::string_view(text).find_first_of(members, from), text.size());
            ASSERT_EQ(set.find_in(text, from), expected) << "text " << text << " from " << from;
        }
    }
}

// Long enough for the block counters to be summed many times over, with
// every byte a member at the end.
TEST(ByteSet, CountsLongTexts) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += (i % 7 == 0) ? "\n" : "ab";
    text += std::string(5000, '\n');
    const std::size_t expected = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    EXPECT_EQ(ByteSet("\n").count_in(text), expected);
    EXPECT_EQ(ByteSet("\n").find_in(text, 1), 13u);
}

TEST(ByteSet, MembershipAndEmptyTexts) {
    const ByteSet set("@\\|");
    EXPECT_TRUE(set.contains('@'));
    EXPECT_TRUE(set.contains('|'));
    EXPECT_FALSE(set.contains('a'));
    EXPECT_FALSE(ByteSet().contains('\0'));
    EXPECT_EQ(set.find_in(""), 0u);
    EXPECT_EQ(ByteSet().find_in(std::string(40, 'a')), 40u);
}

}  // namespace
}  // namespace ilvex
