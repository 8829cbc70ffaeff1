#include "parser/declaration.hpp"

#include <gtest/gtest.h>

#include "dialektos/error.hpp"
#include "parser/document_lines.hpp"

namespace ilvex {
namespace {

using Lines = std::vector<std::string_view>;

TEST(DocumentLines, SplitsAtNewlinesAndDropsTrailingCarriageReturns) {
    const std::vector<std::pair<std::string_view, Lines>> cases = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"\n", {""}},
        {"a\n\n", {"a", ""}},
        {"a\r\r\nb\r", {"a", "b"}},
        {"\r\n\r\n", {"", ""}},
        {"a\rb\n", {"a\rb"}},
    };
    for (const auto& [text, lines] : cases) {
        EXPECT_EQ(split_document_lines(text), lines) << testing::PrintToString(std::string(text));
    }
}

TEST(DocumentLines, DirectoryOfThePath) {
    const std::vector<std::pair<std::string_view, std::string_view>> cases = {
        {"doc.ild", ""},     {"sub/dir/x.ild", "sub/dir"},
        {"/x.ild", "/"},     {"", "."},
        {"/", "."},          {"a//b.ild", "a"},
        {"sub/dir/", "sub"}, {"//x.ild", "/"},
        {"./x.ild", "."},
    };
    for (const auto& [path, dir] : cases) EXPECT_EQ(document_directory(path), dir) << path;
}

TEST(IsDefinitionText, LooksAtTheTrimmedFirstContentLine) {
    const std::vector<std::pair<std::string_view, bool>> cases = {
        {"@@@!ilvex", true},
        {"@@@!ilvex\r\n@@/ x", true},
        {"  @@@!ilvex@0.3  \n", true},
        {"\\\\\\!ilvex\n", true},
        {"#!/bin/x\n@@@!ilvex\n", true},
        {"#!/bin/x\r\n @@@!ilvex@1", true},
        {"@@@!ilvex@", true},
        {"", false},
        {"#!/bin/x", false},
        {"#!/bin/x\n", false},
        {"\n@@@!ilvex", false},
        {"@@@!koine", false},
        {"@@@!ilvex x", false},
        {"@@@!ilvexx", false},
        {"@@@! ilvex", false},
        {"@@@!@ilvex", false},
        {"@@@!", false},
        {"@@@ilvex", false},
        {"@@\\!ilvex", false},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(is_definition_text(text), expected) << testing::PrintToString(std::string(text));
    }
}

TEST(Declaration, ReadsIdVersionAndSigil) {
    struct Case {
        std::string_view text;
        std::string id;
        std::optional<std::string> version;
        bool backslash;
        std::uint64_t first_body_line;  // 0-based
    };
    const std::vector<Case> cases = {
        {"@@@!koine", "koine", std::nullopt, false, 1},
        {"@@@!koine@1\nx", "koine", "1", false, 1},
        {"@@@!koine@0.3", "koine", "0.3", false, 1},
        {"@@@!koine \r\n", "koine", std::nullopt, false, 1},
        {"@@@!il-prosa@12.04\t", "il-prosa", "12.04", false, 1},
        {"\\\\\\!koine@1", "koine", "1", true, 1},
        {"#!/usr/bin/env x\n@@@!koine\nHi", "koine", std::nullopt, false, 2},
        {"@@@!λόγος", "λόγος", std::nullopt, false, 1},
    };
    for (const Case& c : cases) {
        auto prepared = prepare_document(c.text, "doc.ild");
        ASSERT_TRUE(prepared) << c.text << ": " << error_message(prepared.error());
        EXPECT_EQ(prepared->declaration.id, c.id) << c.text;
        EXPECT_EQ(prepared->declaration.version, c.version) << c.text;
        EXPECT_EQ(prepared->state.backslash, c.backslash) << c.text;
        EXPECT_EQ(prepared->state.pos, c.first_body_line) << c.text;
        EXPECT_EQ(prepared->state.depth, 0u);
        EXPECT_TRUE(prepared->state.records.empty());
        // The declaration and a "#!" line before it are dropped, the rest
        // read as the text's own lines, with their numbers.
        DocumentLines& lines = prepared->state.lines;
        for (std::size_t i = 0; i < c.first_body_line; ++i) EXPECT_FALSE(lines.has(i)) << c.text;
        const Lines all = split_document_lines(c.text);
        for (std::size_t i = c.first_body_line; i < all.size(); ++i) {
            ASSERT_TRUE(lines.has(i)) << c.text;
            EXPECT_EQ(lines[i], all[i]) << c.text;
        }
        EXPECT_FALSE(lines.has(all.size())) << c.text;
    }
}

// Lines read through the window, dropped and read again further on, are the
// lines of the whole split.
TEST(Declaration, LinesSplitAsTheyAreReached) {
    const std::string_view text = "a\r\n\nb\r\r\n  c\nd\n\n";
    const Lines all = split_document_lines(text);
    DocumentLines lines(text);
    ASSERT_TRUE(lines.has(2));
    EXPECT_EQ(lines[2], all[2]);
    lines.drop_before(2);
    EXPECT_FALSE(lines.has(1));
    for (std::size_t i = 2; i < all.size(); ++i) {
        ASSERT_TRUE(lines.has(i));
        EXPECT_EQ(lines[i], all[i]) << i;
    }
    EXPECT_FALSE(lines.has(all.size()));
    lines.drop_before(all.size() + 3);  // past the end: nothing is left
    EXPECT_FALSE(lines.has(all.size() - 1));
    EXPECT_FALSE(DocumentLines("").has(0));
}

// The window is split a block of the text at a time: every cut of a text
// with long and short lines, "\r\n" and "\r" across block ends, a last
// line with or without its line feed, gives the lines of the whole split,
// read one by one or after a drop further on.
TEST(Declaration, WindowSplitsEveryLengthLikeTheWholeText) {
    std::string pattern;
    for (int i = 0; i < 6; ++i) pattern += std::string(static_cast<std::size_t>(7 * i + 1), 'x') + "\r\n\n \r\r" + std::string(static_cast<std::size_t>(60 - 9 * i), 'y') + "\n";
    for (std::size_t length = 0; length <= pattern.size(); ++length) {
        const std::string_view text = std::string_view(pattern).substr(0, length);
        const Lines all = split_document_lines(text);
        for (const std::size_t drop : {std::size_t{0}, std::size_t{3}, all.size() / 2}) {
            DocumentLines lines(text);
            lines.drop_before(drop);
            for (std::size_t i = 0; i < all.size(); ++i) {
                ASSERT_EQ(lines.has(i), i >= drop) << length << " " << i;
                if (i >= drop) {
                    EXPECT_EQ(lines[i], all[i]) << length << " " << i;
                }
                if (i % 5 == 4) lines.drop_before(i);
            }
            EXPECT_FALSE(lines.has(all.size())) << length;
        }
    }
}

TEST(Declaration, PathAndDirectoryGoIntoTheState) {
    auto prepared = prepare_document("@@@!koine", "sub/dir/x.ild");
    ASSERT_TRUE(prepared);
    EXPECT_EQ(prepared->state.path, "sub/dir/x.ild");
    EXPECT_EQ(prepared->state.dir, "sub/dir");
    EXPECT_EQ(prepare_document("@@@!koine", "doc.ild")->state.dir, "");
    EXPECT_EQ(prepare_document("@@@!koine", "/x.ild")->state.dir, "/");
}

TEST(Declaration, RefusesMissingAndMalformedDeclarations) {
    const std::string meta =
        "invalid dialektos declaration: `ilvex` declares a dialektos definition file, not a "
        "document; process it as a definition";
    const std::vector<std::pair<std::string_view, std::string>> cases = {
        {"", "missing dialektos declaration on the first content line"},
        {"#!/bin/x", "missing dialektos declaration on the first content line"},
        {"#!/bin/x\n", "missing dialektos declaration on the first content line"},
        {"\n@@@!koine", "doc.ild:1:1: missing dialektos declaration on the first content line"},
        {"  @@@!koine", "doc.ild:1:1: missing dialektos declaration on the first content line"},
        {"@@@", "doc.ild:1:1: missing dialektos declaration on the first content line"},
        {"@@@koine", "doc.ild:1:1: missing dialektos declaration on the first content line"},
        {"@@\\!koine", "doc.ild:1:1: missing dialektos declaration on the first content line"},
        {"#!x\nkoine", "doc.ild:2:1: missing dialektos declaration on the first content line"},
        {"Hello\n@@@!koine",
         "doc.ild:1:1: missing dialektos declaration on the first content line"},
        {"@@@!", "doc.ild:1:1: invalid dialektos declaration: "},
        {"@@@!koine@1.2.3", "doc.ild:1:1: invalid dialektos declaration: koine@1.2.3"},
        {"@@@!koine@", "doc.ild:1:1: invalid dialektos declaration: koine@"},
        {"@@@!koine@1.", "doc.ild:1:1: invalid dialektos declaration: koine@1."},
        {"@@@!koine@.1", "doc.ild:1:1: invalid dialektos declaration: koine@.1"},
        {"@@@!koine@beta  ", "doc.ild:1:1: invalid dialektos declaration: koine@beta"},
        {"@@@!koine@1@2", "doc.ild:1:1: invalid dialektos declaration: koine@1@2"},
        {"@@@! koine", "doc.ild:1:1: invalid dialektos declaration:  koine"},
        {"@@@!koine @1", "doc.ild:1:1: invalid dialektos declaration: koine @1"},
        {"@@@!Bad Id@1", "doc.ild:1:1: invalid dialektos declaration: Bad Id@1"},
        {"@@@!-koine", "doc.ild:1:1: invalid dialektos declaration: -koine"},
        {"@@@!koine_x", "doc.ild:1:1: invalid dialektos declaration: koine_x"},
        {"#!x\n@@@!a.b", "doc.ild:2:1: invalid dialektos declaration: a.b"},
        {"@@@!ilvex", "doc.ild:1:1: " + meta},
        {"\\\\\\!ilvex@0.3", "doc.ild:1:1: " + meta},
    };
    for (const auto& [text, message] : cases) {
        auto prepared = prepare_document(text, "doc.ild");
        ASSERT_FALSE(prepared) << testing::PrintToString(std::string(text));
        EXPECT_EQ(error_message(prepared.error()), message)
            << testing::PrintToString(std::string(text));
    }
}

}  // namespace
}  // namespace ilvex
