#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {
namespace {

TEST(InlinePlainText, CollectsTextOfTextEnlexisAndGroups) {
    const std::vector<Inline> inlines{
        Inline::Text{"  The\n  "},
        Inline::EndoSimmere{"*", {Inline::Text{"quick"}, Inline::Monosim{"%", "p", {}}}, {}, true},
        Inline::Diaphane{{Inline::Enlexis{" brown\t", {}}}, {}},
        Inline::OnymAnchor{"anchor"},
        Inline::Milestone{"v", "1", {}},
        Inline::Deixis{"^", "n1", {}},
        Inline::EndoAxioma{"ax", {Inline::Text{"hidden"}}},
        Inline::AxiomaReference{"ax", false},
        Inline::Text{"fox\u2003 "},
    };
    EXPECT_EQ(inline_plain_text(inlines), "The quick brown fox");
    EXPECT_EQ(inline_plain_text({}), "");
    EXPECT_EQ(inline_plain_text({Inline::Text{" \n "}}), "");
}

// White space runs within a text and across texts, next to ASCII words and
// to other characters.
TEST(InlinePlainText, CollapsesEveryWhiteSpaceRunToOneSpace) {
    const struct {
        std::vector<std::string> texts;
        std::string plain;
    } cases[] = {
        {{"one two  three"}, "one two three"},
        {{"a \tb", "c \n"}, "a bc"},
        {{"a ", " b"}, "a b"},
        {{"a", " b ", "  c"}, "a b c"},
        {{" \u00e9  x\u00a0 y\u2003"}, "\u00e9 x y"},
        {{"\x7f a\x1f b"}, "\x7f a\x1f b"},
    };
    for (const auto& [texts, plain] : cases) {
        std::vector<Inline> inlines;
        for (const std::string& text : texts) inlines.push_back(Inline::Text{text});
        EXPECT_EQ(inline_plain_text(inlines), plain) << texts.front();
    }
}

TEST(InlinePlainText, DeepNestingDoesNotRecurse) {
    Inline item = Inline::Text{"core"};
    for (int i = 0; i < 100000; ++i) {
        Inline outer = Inline::Diaphane{};
        std::get<Inline::Diaphane>(outer.node).children.push_back(std::move(item));
        item = std::move(outer);
    }
    std::vector<Inline> list;
    list.push_back(std::move(item));
    EXPECT_EQ(inline_plain_text(list), "core");
    // Take the chain apart from the outside in so the destructors stay shallow.
    while (!list.empty()) {
        Inline top = std::move(list.back());
        list.pop_back();
        if (auto* group = std::get_if<Inline::Diaphane>(&top.node)) {
            for (Inline& child : group->children) list.push_back(std::move(child));
            group->children.clear();
        }
    }
}

TEST(DocumentTree, CopiesCompareEqualAndKindsFollowTheVariant) {
    Block::Para para;
    para.symbol = "#";
    para.lemma = {Inline::Text{"Title"}};
    para.children = {Block::Paragraph{{Inline::Text{"body"}}}, Block::Stichoi{}};
    para.taxis = Taxis::of(3);
    Document doc{"koine", "1", {para, Block::AxiomaReference{true, "x"}}};
    Document copy = doc;
    EXPECT_EQ(copy, doc);
    EXPECT_EQ(doc.blocks[0].kind(), BlockKind::Para);
    EXPECT_EQ(doc.blocks[1].kind(), BlockKind::AxiomaReference);
    std::get<Block::Para>(copy.blocks[0].node).children[0] = Block::Paragraph{};
    EXPECT_NE(copy, doc);
    EXPECT_EQ(Inline(Inline::AxiomaReference{}).kind(), InlineKind::AxiomaReference);
}

TEST(DocumentTree, TaxisNumberMattersOnlyForNumbers) {
    EXPECT_EQ(Taxis::empty(), (Taxis{Taxis::State::Empty, 7}));
    EXPECT_EQ(Taxis::absent(), Taxis{});
    EXPECT_NE(Taxis::of(1), Taxis::of(2));
    EXPECT_NE(Taxis::of(0), Taxis::empty());
}

}  // namespace
}  // namespace ilvex
