#include <gtest/gtest.h>

#include "dendron/document.hpp"
#include "endo/tree_builders.hpp"

namespace ilvex {
namespace {

TEST(TreeBuilders, OneSimParagraphAndLink) {
    const std::vector<Inline> inlines = {Inline::Text{"a"}, Inline::OnymAnchor{"x"}};
    EXPECT_EQ(single_sim_paragraph("=", inlines),
              Block(Block::Paragraph{{Inline::EndoSimmere{"=", inlines, Suffix{}, true}}}));
    EXPECT_EQ(link_inline("https://a.b/c d"),
              Inline(Inline::EndoSimmere{"><", {Inline::Text{"https://a.b/c d"}}, Suffix{}, true}));
}

}  // namespace
}  // namespace ilvex
