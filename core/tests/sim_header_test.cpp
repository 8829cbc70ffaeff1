#include <gtest/gtest.h>

#include "block_fixture.hpp"

namespace ilvex {
namespace {

using namespace ilvex::fixture;

std::string doc(std::string_view body) { return "@@@!sample\n" + std::string(body); }

Block::Para para_of(std::string_view body) {
    auto blocks = blocks_of(doc(body));
    if (blocks.size() != 1 || blocks[0].kind() != BlockKind::Para) {
        ADD_FAILURE() << body << ": not one Para";
        return {};
    }
    return std::get<Block::Para>(blocks[0].node);
}

Block::Stichoi stichoi_of(std::string_view body) {
    auto blocks = blocks_of(doc(body));
    if (blocks.size() != 1 || blocks[0].kind() != BlockKind::Stichoi) {
        ADD_FAILURE() << body << ": not one Stichoi";
        return {};
    }
    return std::get<Block::Stichoi>(blocks[0].node);
}

TEST(SimHeader, TaxisWrittenAfterTheToken) {
    struct Case {
        std::string_view opener;
        Taxis taxis;
        std::string lemma;
    };
    const std::vector<Case> cases = {
        {"@§(3) Title", Taxis::of(3), "Title"},
        {"@§() Title", Taxis::empty(), "Title"},
        {"@§ (3) Title", Taxis::absent(), "(3) Title"},
        {"@§(3 Title", Taxis::absent(), "(3 Title"},
        {"@§(007)Title", Taxis::of(7), "Title"},
        {"@§(18446744073709551615)", Taxis::of(18446744073709551615u), ""},
        {"@§", Taxis::absent(), ""},
        {"@{paragraphos}(4) Title", Taxis::of(4), "Title"},
    };
    for (const Case& c : cases) {
        const std::string closer = c.opener.starts_with("@{") ? "{paragraphos}@" : "§@";
        const Block::Para para = para_of(std::string(c.opener) + "\nx\n" + closer);
        EXPECT_EQ(para.symbol, "§") << c.opener;
        EXPECT_EQ(para.taxis, c.taxis) << c.opener;
        EXPECT_EQ(para.lemma, c.lemma.empty() ? std::vector<Inline>{} : text_inlines(c.lemma))
            << c.opener;
    }
}

TEST(SimHeader, OccurrenceRules) {
    const std::vector<std::pair<std::string_view, std::string>> cases = {
        // taxis
        {"@§(99999999999999999999) x\n§@", "doc.ild:2:1: invalid taxis `99999999999999999999`"},
        {"\n@§(18446744073709551616)\n§@", "doc.ild:3:1: invalid taxis `18446744073709551616`"},
        {"@% Title\nx\n%@ h", "doc.ild:2:1: sim `strict` requires a taxis"},
        {"@% (1) Title\nx\n%@ h", "doc.ild:2:1: sim `strict` requires a taxis"},
        {"@%(1 Title\nx\n%@ h", "doc.ild:2:1: sim `strict` requires a taxis"},
        {"@%(1) Title\nx\n%@ h", "ok"},
        {"@%() Title\nx\n%@ h", "ok"},
        // lemma
        {"@%(1)\nx\n%@ h", "doc.ild:2:1: sim `strict` requires a lemma"},
        {"@%(1) \t \nx\n%@ h", "doc.ild:2:1: sim `strict` requires a lemma"},
        {"@& text\nx\n&@", "doc.ild:2:1: sim `bare` does not support a lemma"},
        {"@&(text\nx\n&@", "doc.ild:2:1: sim `bare` does not support a lemma"},
        {"@&   \nx\n&@", "ok"},
        // hypograph
        {"@%(1) T\nx\n\n%@", "doc.ild:5:1: sim `strict` requires a hypograph"},
        {"@%(1) T\nx\n%@  ", "doc.ild:4:1: sim `strict` requires a hypograph"},
        {"@&\nx\n&@ h", "doc.ild:4:1: sim `bare` does not support a hypograph"},
        {"@&\nx\n&@(n).g h", "doc.ild:4:1: sim `bare` does not support a hypograph"},
        {"@&\nx\n&@(n).g  ", "ok"},
        {"@§ T\nx\n  §@ aside", "doc.ild:4:1: sim `paragraphos` does not support a hypograph"},
        {"@~\na\n~@ h", "ok"},
        // the body forms' own closing rules
        {"\n@~ Song\na", "doc.ild:3:1: unmatched sim `@~` (episim not found)"},
        {"@{verse}\na\n~@(x)", "doc.ild:2:1: unmatched sim `@~` (episim not found)"},
        {"@@@= Song\na\n", "doc.ild:2:1: unmatched sim `@@@=` (episim not found)"},
        {"@{section} T\nx\n#@(x)",
         "doc.ild:2:1: unmatched sim `block closed by `{section}@` (opened near here)` (episim "
         "not found)"},
    };
    for (const auto& [body, message] : cases) EXPECT_EQ(outcome(doc(body)), message) << body;
}

TEST(SimHeader, GrammataBodyAndClosingLine) {
    const Block::Para para =
        para_of("@#(2) Title\n\nbody\n@@@.\n.@@@\n  #@(sec-2).a.b Closing words  ");
    EXPECT_TRUE(para.mirrored);
    EXPECT_EQ(para.symbol, "#");
    EXPECT_EQ(para.taxis, Taxis::of(2));
    EXPECT_EQ(para.lemma, text_inlines("Title"));
    EXPECT_EQ(kinds(para.children), (std::vector{BlockKind::Paragraph, BlockKind::Diaphane}));
    EXPECT_EQ(para.suffix, (Suffix{"sec-2", {"a", "b"}}));
    EXPECT_EQ(para.hypograph, text_inlines("Closing words"));

    // The block records the sim's own mirroring, also for a named opener.
    EXPECT_FALSE(para_of("@[[ Box\nx\n[[@").mirrored);
    EXPECT_FALSE(para_of("@{box} Box\nx\n{box}@").mirrored);
    EXPECT_EQ(para_of("@< Q\n>@").symbol, "<");
}

TEST(SimHeader, StichosBodyGroupsLinesIntoStrophes) {
    const Block::Stichoi verse = stichoi_of("@~ Song\na\n\n\nb  \n  c\n\n~@(p1).speech Aside");
    EXPECT_EQ(verse.symbol, "~");
    EXPECT_TRUE(verse.mirrored);
    EXPECT_EQ(verse.taxis, Taxis::absent());
    EXPECT_EQ(verse.lemma, text_inlines("Song"));
    const std::vector<Strophe> strophes = {
        {text_inlines("a")},
        {text_inlines("b"), text_inlines("  c")},
    };
    EXPECT_EQ(verse.strophes, strophes);
    EXPECT_EQ(verse.suffix, (Suffix{"p1", {"speech"}}));
    EXPECT_EQ(verse.hypograph, text_inlines("Aside"));

    EXPECT_TRUE(stichoi_of("@~\n\n  \n\n~@").strophes.empty());
    EXPECT_TRUE(stichoi_of("@~\n~@").strophes.empty());
    // Verse lines are not blocks, and only the closer spelled like the
    // opener closes.
    EXPECT_EQ(stichoi_of("@~\n@#(ref) and @*more*@\n~@").strophes.size(), 1u);
    const Block::Stichoi named = stichoi_of("@{verse}\n~@(x)\n  {verse}@");
    EXPECT_EQ(named.symbol, "~");
    EXPECT_EQ(named.strophes.size(), 1u);
}

TEST(LineBlock, AnonymousStichoi) {
    const Block::Stichoi block = stichoi_of("@@@= Song\none\ntwo\n\n three\n=@@@(r).x Refrain");
    EXPECT_EQ(block.symbol, std::nullopt);
    EXPECT_TRUE(block.mirrored);
    EXPECT_EQ(block.taxis, Taxis::absent());
    EXPECT_EQ(block.lemma, text_inlines("Song"));
    const std::vector<Strophe> strophes = {
        {text_inlines("one"), text_inlines("two")},
        {text_inlines(" three")},
    };
    EXPECT_EQ(block.strophes, strophes);
    EXPECT_EQ(block.suffix, (Suffix{"r", {"x"}}));
    EXPECT_EQ(block.hypograph, text_inlines("Refrain"));

    const Block::Stichoi bare = stichoi_of("@@@=\n  =@@@");
    EXPECT_TRUE(bare.lemma.empty());
    EXPECT_TRUE(bare.strophes.empty());
    EXPECT_TRUE(bare.hypograph.empty());
    EXPECT_TRUE(bare.suffix.empty());
}

// Lemma, hypograph, verse lines and suffixes are located on their own lines,
// their columns counted from where their text begins.
TEST(SimHeader, InlineContentIsLocatedOnItsLine) {
    const std::vector<std::pair<std::string_view, std::string>> cases = {
        {"@#   Title @x\n#@", "doc.ild:2:7: undefined sim `@`"},
        {"@# T\n  #@ see @x", "doc.ild:3:5: undefined sim `@`"},
        {"@# T\n  #@(a b) x", "doc.ild:3:6: invalid onym identifier `a b`"},
        {"@@@.\n.@@@.Bad", "doc.ild:3:1: unexpected content after `.@@@`: `.Bad`"},
        {"@~\nfirst\n  a @x\n~@", "doc.ild:4:5: undefined sim `@`"},
        {"@~\n~@.a-", "doc.ild:3:4: invalid genos identifier `a-`"},
        {"@@@=  L @x\n=@@@", "doc.ild:2:3: undefined sim `@`"},
        {"@@@=\nv\n =@@@ H @x", "doc.ild:4:3: undefined sim `@`"},
        {"@@@.\n  .@@@(a b)", "doc.ild:3:6: invalid onym identifier `a b`"},
        {"@@@\"\n\"@@@(1).x-", "doc.ild:3:7: invalid genos identifier `x-`"},
    };
    for (const auto& [body, message] : cases) EXPECT_EQ(outcome(doc(body)), message) << body;
}

}  // namespace
}  // namespace ilvex
