#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "endo/writable.hpp"

namespace ilvex {
namespace {

TEST(WritableGenos, ValidLowerCasedOrDropped) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"python", "python"},
        {"Python", "python"},
        {"objective-C", "objective-c"},
        {"\u00E9bauche", "\u00E9bauche"},
        {"\u00C9bauche", std::nullopt},  // only ASCII letters are lower-cased
        {"c++", std::nullopt},
        {"2nd", std::nullopt},
        {"x--y", std::nullopt},
        {"a b", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [word, expected] : cases) EXPECT_EQ(writable_genos(word), expected) << word;
}

TEST(WritableParameter, WhiteSpacePercentEncoded) {
    const std::pair<std::string, std::string> cases[] = {
        {"a.png", "a.png"},
        {"a b.png", "a%20b.png"},
        {" a\tb\n", "%20a%09b%0A"},
        {"a\u00A0b", "a%C2%A0b"},
        {"a\u3000b", "a%E3%80%80b"},
        {"%20 \u00E9", "%20%20\u00E9"},  // other characters stay as written
        {"", ""},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(writable_parameter(text), expected);
}

Inline enlexis(std::string text) { return Inline::Enlexis{std::move(text), {}}; }

TEST(LiteralInlines, SplitJustAfterTheQuoteOfEachCloser) {
    const std::pair<std::string, std::vector<Inline>> cases[] = {
        {"a < b", {enlexis("a < b")}},
        {"", {enlexis("")}},
        {"\"@ \"@", {enlexis("\"@ \"@")}},
        {"x\"@@y", {enlexis("x\""), enlexis("@@y")}},
        {"\"@@\"@@", {enlexis("\""), enlexis("@@\""), enlexis("@@")}},
        {"\"@@@", {enlexis("\""), enlexis("@@@")}},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(literal_inlines(text), expected) << text;
}

TEST(LiteralBlocks, LinesThatWouldCloseTheBlockStandApart) {
    const Suffix python{std::nullopt, {"python"}};
    const auto monad = [&](std::string text) { return Block::MonadEnlexis{std::move(text), python}; };
    const auto paragraph = [](std::vector<Inline> inlines) {
        return Block::Paragraph{std::move(inlines)};
    };
    const std::pair<std::string, std::vector<Block>> cases[] = {
        {"a\n  b\n", {monad("a\n  b\n")}},
        {"", {monad("")}},
        {"no final line feed", {monad("no final line feed")}},
        {"x \"@@@ y\n", {monad("x \"@@@ y\n")}},  // not at the start
        {"a\r\nb\r\r\n", {monad("a\nb\n")}},
        // Lines of carriage returns only are still lines of the block.
        {"\r", {monad("")}},
        {"\r\r\n", {monad("\n")}},
        {"\r\n\"@@@", {monad("\n"), paragraph({enlexis("\""), enlexis("@@@")})}},
        {"a\n  \"@@@ x\nb\n",
         {monad("a\n"), paragraph({enlexis("  \""), enlexis("@@@ x")}), monad("b\n")}},
        {"\"@@@\n\"@@@.x\n",
         {paragraph({enlexis("\""), enlexis("@@@")}),
          paragraph({enlexis("\""), enlexis("@@@.x")})}},
        {"\"@@@\r", {paragraph({enlexis("\""), enlexis("@@@")})}},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(literal_blocks(std::string_view(text), python), expected) << text;
        EXPECT_EQ(literal_blocks(std::string(text), python), expected) << "moved: " << text;
    }
}

TEST(IsolateTrailingBackslashes, OnlyBeforeMarkup) {
    const auto text = [](std::string s) { return Inline::Text{std::move(s)}; };
    const Inline mark = Inline::OnymAnchor{"x"};
    const std::pair<std::vector<Inline>, std::vector<Inline>> cases[] = {
        {{text("a\\"), mark}, {text("a"), enlexis("\\"), mark}},
        {{text("a\\\\"), mark}, {text("a"), enlexis("\\\\"), mark}},
        {{text("\\"), mark, text("b\\"), mark}, {enlexis("\\"), mark, text("b"), enlexis("\\"), mark}},
        {{text("a\\")}, {text("a\\")}},  // the end of the list
        {{text("a\\"), text("@")}, {text("a\\"), text("@")}},  // the writer escapes the "@"
        {{text("a\\b"), mark}, {text("a\\b"), mark}},
        {{mark, text("\\")}, {mark, text("\\")}},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        std::vector<Inline> inlines = cases[k].first;
        isolate_trailing_backslashes(inlines);
        EXPECT_EQ(inlines, cases[k].second) << "case " << k;
    }
}

}  // namespace
}  // namespace ilvex
