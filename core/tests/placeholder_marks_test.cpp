#include <gtest/gtest.h>

#include <vector>

#include "dendron/document.hpp"
#include "endo/placeholder_marks.hpp"

namespace ilvex {
namespace {

Block paragraph(std::string text) { return Block::Paragraph{{Inline::Text{std::move(text)}}}; }

TEST(MarkedBlocks, OnlyALeadingMarkOfTheKindIsTaken) {
    MarkedBlocks blocks;
    blocks.push_marked(paragraph("Title"), BlockMark::Title);
    blocks.push(paragraph("body"));
    MarkedBlocks nested;
    nested.push_marked(paragraph("Second"), BlockMark::Title);
    blocks.append(std::move(nested));

    EXPECT_EQ(blocks.take_first(BlockMark::Head), std::nullopt);
    EXPECT_EQ(blocks.take_first(BlockMark::Title), paragraph("Title"));
    EXPECT_EQ(blocks.take_first(BlockMark::Title), std::nullopt);  // "body" is unmarked
    // A mark nobody took leaves the plain block it holds.
    EXPECT_EQ(std::move(blocks).release(),
              (std::vector<Block>{paragraph("body"), paragraph("Second")}));
}

Inline text(std::string s) { return Inline::Text{std::move(s)}; }
Inline emphasis(std::vector<Inline> children) {
    return Inline::EndoSimmere{"/", std::move(children), {}, true};
}

// "one<br/>two<em>three<br/>four<br/></em>five" as a strophe converter sees it.
TEST(InlineRun, BreaksInsideMarkupSplitTheMarkupAndEndLines) {
    InlineRun em;
    em.push(text("three"));
    em.push_break();
    em.push(text("four"));
    em.push_break();
    InlineRun run;
    run.push(text("one"));
    run.push_break();
    run.push(text("two"));
    run.push_wrapped(std::move(em), emphasis);
    run.push(text("five"));
    ASSERT_TRUE(run.has_breaks());
    EXPECT_EQ(std::move(run).lines(), (std::vector<std::vector<Inline>>{
                                          {text("one")},
                                          {text("two"), emphasis({text("three")})},
                                          {emphasis({text("four")})},
                                          {text("five")},
                                      }));
}

TEST(InlineRun, WithoutBreaksMarkupIsWrappedWhole) {
    InlineRun run;
    run.push_wrapped(InlineRun{}, emphasis);
    InlineRun inner;
    inner.push(text("x"));
    run.push_wrapped(std::move(inner), emphasis);
    EXPECT_FALSE(run.has_breaks());
    EXPECT_EQ(std::move(run).inlines(), (std::vector<Inline>{emphasis({}), emphasis({text("x")})}));

    InlineRun breaks;
    breaks.push_break();
    breaks.push_break();
    EXPECT_EQ(std::move(breaks).lines(), (std::vector<std::vector<Inline>>(3)));
}

TEST(InlineRun, AppendedRunsKeepTheirBreaks) {
    InlineRun children;
    children.push(text("a"));
    children.push_break();
    children.push(text("b"));
    InlineRun run;
    run.push(text("x"));
    run.push_break();
    run.append(std::move(children));
    run.push(text("c"));
    EXPECT_EQ(std::move(run).lines(),
              (std::vector<std::vector<Inline>>{{text("x")}, {text("a")}, {text("b"), text("c")}}));
}

}  // namespace
}  // namespace ilvex
