#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dendron/document.hpp"
#include "endo/whitespace.hpp"

namespace ilvex {
namespace {

TEST(CollapseWhitespace, RunsBecomeOneSpace) {
    const std::pair<std::string, std::string> cases[] = {
        {" a \t\n b ", " a b "},
        {"", ""},
        {"ab", "ab"},
        {"\n", " "},
        {"a\u00A0\u2003\u3000b", "a b"},  // any White_Space character
        {"a\u200Bb", "a\u200Bb"},  // a zero-width space is not white space
        {"\u00E9  \u00E9", "\u00E9 \u00E9"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(collapse_whitespace(text), expected);
}

Inline text(std::string s) { return Inline::Text{std::move(s)}; }
Inline anchor() { return Inline::OnymAnchor{"x"}; }

struct TrimCase {
    std::vector<Inline> input;
    std::vector<Inline> inlines;    // after trim_inlines
    std::vector<Inline> run_edges;  // after trim_run_edges
};

TEST(TrimInlines, BothTrimmersOnTheSameLists) {
    const TrimCase cases[] = {
        {{}, {}, {}},
        {{text(" "), text("\n"), text("")}, {}, {text("\n")}},
        {{text(" x"), anchor(), text(" ")}, {text("x"), anchor()}, {text("x"), anchor()}},
        {{text(" "), text(" a")}, {text("a")}, {text(" a")}},
        {{text(" a b ")}, {text("a b")}, {text("a b")}},
        {{text(" \u00A0")}, {}, {}},
        {{anchor(), text(" a "), anchor()},
         {anchor(), text(" a "), anchor()},
         {anchor(), text(" a "), anchor()}},
        {{text("  "), anchor(), text(" "), anchor(), text(" \t")},
         {anchor(), text(" "), anchor()},
         {anchor(), text(" "), anchor()}},
        {{text(" a"), text(" "), text("b "), text(" ")},
         {text("a"), text(" "), text("b")},
         {text("a"), text(" "), text("b ")}},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        std::vector<Inline> trimmed = cases[k].input;
        trim_inlines(trimmed);
        EXPECT_EQ(trimmed, cases[k].inlines) << "case " << k;
        std::vector<Inline> edges = cases[k].input;
        trim_run_edges(edges);
        EXPECT_EQ(edges, cases[k].run_edges) << "case " << k;
    }
}

// Nested items are never entered: only the list's own ends are trimmed.
TEST(TrimInlines, LeavesOtherKindsAlone) {
    std::vector<Inline> inlines = {
        Inline::EndoSimmere{"*", {text(" x ")}, {}, true},
        Inline::Enlexis{" y ", {}},
    };
    const std::vector<Inline> before = inlines;
    trim_inlines(inlines);
    EXPECT_EQ(inlines, before);
    trim_run_edges(inlines);
    EXPECT_EQ(inlines, before);
}

}  // namespace
}  // namespace ilvex
