#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "endo/scripture/scripture_blocks.hpp"

namespace ilvex {
namespace {

using Inlines = std::vector<Inline>;

Inline text(std::string s) { return Inline::Text{std::move(s)}; }
Inline verse(std::string n) { return Inline::Monosim{"|", std::move(n), {}}; }
Inline line_phrase(std::string genos, Inlines children) {
    return Inline::EndoSimmere{",", std::move(children), Suffix{std::nullopt, {std::move(genos)}}, true};
}

TEST(CanonicalUsfmMarker, NumbersUnnumberedStylesOnly) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"s", "s1"},   {"s4", "s3"},     {"s5", "s5"}, {"mt", "mt1"}, {"mt2", "mt2"}, {"imt", "imt1"},
        {"ili", "ili1"}, {"q", "q"},     {"q1", "q1"}, {"S", "S"},     {"", ""},       {"s ", "s "},
    };
    for (const auto& [name, canonical] : cases) EXPECT_EQ(canonical_usfm_marker(name), canonical) << name;
}

TEST(UsfmStyleTables, LookUpCanonicalNamesExactly) {
    EXPECT_TRUE(is_usfm_paragraph_style("pi1"));
    EXPECT_FALSE(is_usfm_paragraph_style("pi"));  // only after canonical_usfm_marker
    EXPECT_FALSE(is_usfm_paragraph_style("p"));   // the plain paragraph
    EXPECT_TRUE(is_usfm_heading_style("s3"));
    EXPECT_FALSE(is_usfm_heading_style("s4"));
    EXPECT_FALSE(is_usfm_heading_style("M"));
}

TEST(PushVerseMilestone, SpaceOnlyAfterContentThatDoesNotEndInWhiteSpace) {
    struct Case {
        const char* name;
        Inlines before;
        Inlines after;
    };
    const Inline nd = line_phrase("nd", {text("x")});
    const std::vector<Case> cases = {
        {"empty list", {}, {verse("3")}},
        {"text ending in a space", {text("a ")}, {text("a "), verse("3")}},
        {"text ending in a line feed", {text("a\n")}, {text("a\n"), verse("3")}},
        {"text ending in a no-break space", {text("a\u00a0")}, {text("a\u00a0"), verse("3")}},
        {"text ending in a letter", {text("a")}, {text("a"), text(" "), verse("3")}},
        {"empty text", {text("")}, {text(""), text(" "), verse("3")}},
        {"phrase", {nd}, {nd, text(" "), verse("3")}},
    };
    for (Case c : cases) {
        push_verse_milestone(c.before, "3");
        EXPECT_EQ(c.before, c.after) << c.name;
    }
}

TEST(PoetryBlock, ClosesWhatWasCollected) {
    std::vector<Block> blocks;
    Strophe current;
    std::vector<Strophe> strophes;
    poetry_block(current, strophes, blocks);
    EXPECT_TRUE(blocks.empty());

    const Strophe one = {{line_phrase("q1", {text("a")})}};
    const Strophe two = {{line_phrase("q2", {text("b")})}, {line_phrase("q2", {text("c")})}};
    strophes = {one, two};
    poetry_block(current, strophes, blocks);
    current = one;
    poetry_block(current, strophes, blocks);

    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0], Block(Block::Stichoi{true, "~", {}, {one, two}, {}, {}, Taxis::absent()}));
    EXPECT_EQ(blocks[1], Block(Block::Stichoi{true, "~", {}, {one}, {}, {}, Taxis::absent()}));
    EXPECT_TRUE(current.empty());
    EXPECT_TRUE(strophes.empty());
}

TEST(WrapInlineSim, TrimsChildrenAndKeepsAnEmptyPhrase) {
    Inlines out;
    wrap_inline_sim(out, "q1", {text(" "), text("  ")});
    wrap_inline_sim(out, "wj", {text(" a "), verse("1"), text(" b\n")});
    EXPECT_EQ(out, (Inlines{line_phrase("q1", {}), line_phrase("wj", {text("a "), verse("1"), text(" b")})}));
}

TEST(BookDivisionBlock, LemmaIsTheCodeAsGiven) {
    const Block expected = Block::Para{true, "#", {text("gen")}, {}, {}, {}, Taxis::absent()};
    EXPECT_EQ(book_division_block("gen", {}), expected);
}

TEST(StyleShapes, CarryTheStyleAsAWritableGenos) {
    EXPECT_EQ(typed_block("s1", {text("Head")}),
              Block(Block::Paragraph{{Inline::EndoSimmere{"_", {text("Head")}, Suffix{std::nullopt, {"s1"}}, true}}}));
    EXPECT_EQ(note("f", {}), Inline(Inline::EndoSimmere{"^", {}, Suffix{std::nullopt, {"f"}}, true}));
    EXPECT_EQ(style_suffix("ND"), (Suffix{std::nullopt, {"nd"}}));
    EXPECT_EQ(style_suffix("2nd"), Suffix{});  // no genos begins with a digit
    EXPECT_EQ(chapter_block("4"), Block(Block::Paragraph{{Inline::Monosim{"##", "4", {}}}}));
}

}  // namespace
}  // namespace ilvex
