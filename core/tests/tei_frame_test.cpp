#include <gtest/gtest.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "dendron/document.hpp"
#include "endo/tei/tei_entry_keys.hpp"
#include "endo/tei/tei_post_passes.hpp"

namespace ilvex {
namespace {

Inline text(std::string s) { return Inline::Text{std::move(s)}; }
Inline milestone(std::string scheme, std::string value, std::vector<std::string> genoses = {}) {
    return Inline::Milestone{std::move(scheme), std::move(value), Suffix{std::nullopt, std::move(genoses)}};
}
Inline sim(std::vector<Inline> children) { return Inline::EndoSimmere{"/", std::move(children), {}, true}; }
Inline ref(std::string target) { return Inline::Monosim{">", std::move(target), {}}; }
Block paragraph(std::vector<Inline> inlines) { return Block::Paragraph{std::move(inlines)}; }
Block entry(std::vector<Inline> lemma, Taxis taxis = Taxis::absent(), std::vector<Block> children = {}) {
    Block::Para para;
    para.mirrored = false;
    para.symbol = "!";
    para.lemma = std::move(lemma);
    para.children = std::move(children);
    para.taxis = taxis;
    return para;
}

// The milestones of a tree in walk order, as scheme:value, a replaced one
// as "_".
void milestones_of(const std::vector<Inline>& inlines, std::string& out) {
    for (const Inline& item : inlines) {
        if (const auto* m = std::get_if<Inline::Milestone>(&item.node)) out += m->scheme + ":" + m->value + " ";
        if (const auto* t = std::get_if<Inline::Text>(&item.node); t && t->text == " ") out += "_ ";
        if (const auto* s = std::get_if<Inline::EndoSimmere>(&item.node)) milestones_of(s->children, out);
    }
}

std::string normalized(std::vector<Block> blocks) {
    TeiMilestoneState state;
    for (Block& block : blocks) normalize_tei_milestones(block, state);
    std::string out;
    for (const Block& block : blocks) {
        if (const auto* p = std::get_if<Block::Paragraph>(&block.node)) milestones_of(p->inlines, out);
        if (const auto* p = std::get_if<Block::Para>(&block.node)) {
            milestones_of(p->lemma, out);
            for (const Block& child : p->children) milestones_of(std::get<Block::Paragraph>(child.node).inlines, out);
            milestones_of(p->hypograph, out);
        }
        if (const auto* s = std::get_if<Block::Stichoi>(&block.node)) {
            milestones_of(s->lemma, out);
            for (const Strophe& strophe : s->strophes) {
                for (const auto& line : strophe) milestones_of(line, out);
            }
        }
    }
    return out;
}

TEST(TeiMilestonePass, BekkerLinesReadOnTheirPage) {
    EXPECT_EQ(normalized({paragraph({milestone("bekker", "5"), milestone("bekker", "1456a"), milestone("bekker", "5"),
                                     milestone("bekker", "10"), milestone("bekker", "1456b"), milestone("bekker", "5")})}),
              "bekker:5 bekker:1456a bekker:1456a5 bekker:1456a10 bekker:1456b bekker:1456b5 ");
}

TEST(TeiMilestonePass, SectionsTakeTheSchemeOfTheirPage) {
    EXPECT_EQ(normalized({paragraph({milestone("section", "12.3"), milestone("stephanus", "12", {"page"}),
                                     milestone("section", "12.3"), milestone("section", "13.1"),
                                     milestone("bekker", "1a"), milestone("section", "1a.2")})}),
              "section:12.3 stephanus:12 stephanus:12.3 section:13.1 bekker:1a bekker:1a.2 ");
}

// A milestone met before becomes a space, wherever the two stand: the walk
// takes a Para's lemma, then its children, then its hypograph, a verse's
// lines in order, and the children of sims where they stand.
TEST(TeiMilestonePass, RepeatsBecomeSpacesInWalkOrder) {
    Block::Para division;
    division.symbol = "#";
    division.lemma = {milestone("page", "1")};
    division.children.push_back(paragraph({sim({milestone("page", "1"), milestone("page", "2")}), milestone("page", "2")}));
    division.hypograph = {milestone("page", "2")};
    Block::Stichoi verse;
    verse.strophes = {{{milestone("line", "1")}, {milestone("line", "1"), milestone("line", "2")}}};
    EXPECT_EQ(normalized({std::move(division), std::move(verse)}), "page:1 _ page:2 _ _ line:1 _ line:2 ");
}

TEST(TeiEntryKeys, Slugs) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"New York", "New-York"},
        {"  run--up!  ", "run-up"},
        {"-x_y.z-", "x-y-z"},
        {"Straße über", "Straße-über"},
        {"x\xC2\xA0\xE2\x80\x94 y", "x-y"},  // no-break space and em dash
        {"\xD9\xA3 a", "\xD9\xA3-a"},         // an Arabic-Indic digit is alphanumeric
        {"!?", ""},
        {"", ""},
    };
    for (const auto& [headword, slug] : cases) EXPECT_EQ(tei_headword_slug(headword), slug) << headword;
}

TEST(TeiEntryKeys, HomographsAndKeys) {
    const std::vector<std::pair<Block, std::optional<std::string_view>>> blocks = {
        {entry({text("bank")}), "a"},
        {entry({text("bank")}, Taxis::of(5)), "a"},  // a later identifier wins
        {entry({text("ba"), sim({text("x")}), text("nk")}), std::nullopt},  // nested sims add nothing to the key
        {entry({text("New York")}), "ny"},
        {entry({text("!")}), "none"},
        {entry({text("?")}, Taxis::of(3)), "q"},
        {entry({text(" bank")}), std::nullopt},
        {entry({text("bank")}), std::nullopt},
        {entry({text("bank")}, Taxis::of(2)), std::nullopt},
    };
    std::vector<TeiEntrySummary> entries;
    for (const auto& [block, id] : blocks) entries.push_back(summarize_tei_entry(std::get<Block::Para>(block.node), id));
    number_tei_homographs(entries);
    EXPECT_EQ(entries[0].taxis, Taxis::of(1));
    EXPECT_EQ(entries[1].taxis, Taxis::of(5));
    EXPECT_EQ(entries[2].taxis, Taxis::of(3));  // 2 is taken by a later homograph
    EXPECT_EQ(entries[3].taxis, Taxis::absent());
    EXPECT_EQ(entries[6].taxis, Taxis::absent());  // the key is untrimmed
    EXPECT_EQ(entries[7].taxis, Taxis::of(4));
    const auto keys = tei_entry_keys(entries);
    const std::unordered_map<std::string, std::string> expected = {{"a", "bank-5"}, {"ny", "New-York"}, {"q", "-3"}};
    EXPECT_EQ(keys, expected);
}

TEST(TeiEntryRefs, RewrittenWhereverTheyStandButInVerse) {
    Block::Stichoi verse;
    verse.strophes = {{{ref("e1")}}};
    std::vector<Block> blocks = {entry({ref("e1")}, Taxis::absent(), {paragraph({sim({ref("e1"), ref("e2")})})}),
                                 std::move(verse)};
    for (Block& block : blocks) rewrite_tei_entry_refs(block, {{"e1", "bank-1"}});
    const auto& para = std::get<Block::Para>(blocks[0].node);
    EXPECT_EQ(para.lemma[0], ref("bank-1"));
    const auto& nested = std::get<Inline::EndoSimmere>(std::get<Block::Paragraph>(para.children[0].node).inlines[0].node);
    EXPECT_EQ(nested.children, (std::vector<Inline>{ref("bank-1"), ref("e2")}));
    EXPECT_EQ(std::get<Block::Stichoi>(blocks[1].node).strophes[0][0][0], ref("e1"));
}

}  // namespace
}  // namespace ilvex
