#include <gtest/gtest.h>

#include "dendron/writer.hpp"
#include "dendron_fixture.hpp"

namespace ilvex {
namespace {

using namespace ilvex::testing;

TEST(WriteDocument, DeclarationFromIdAndVersion) {
    EXPECT_EQ(write_document(Document{"koine", std::nullopt, {}}), "@@@!koine\n");
    EXPECT_EQ(write_document(Document{"koine", "0.3", {paragraph({text("Hi")})}}), "@@@!koine@0.3\n\nHi\n");
    // Blocks that write nothing leave the declaration alone, as the parse
    // of the text would.
    EXPECT_EQ(write_document(Document{"koine", std::nullopt, {paragraph({}), paragraph({text(" \n ")})}}),
              "@@@!koine\n");
}

TEST(WriteBlocks, EveryBlockForm) {
    const struct {
        Block block;
        std::string text;
    } cases[] = {
        {paragraph({text("Hi")}), "Hi\n"},
        {para("#", {text("Intro")}, {}, {}, {}, Taxis::of(2)), "@#(2) Intro\n#@\n"},
        {para("#", {}, {paragraph({text("a")})}, {}, {}, Taxis::empty()), "@#()\na\n#@\n"},
        {para("<", {}, {}, Suffix{"x", {"g", "h"}}, {text("By me")}), "@<\n>@(x).g.h By me\n"},
        {para("<", {}, {}, {}, {}, {}, false), "@<\n<@\n"},
        {verse("~", {{{text("a")}, {text("  b")}}, {{text("c")}}}, {text("Song")}, {text("1900")}, genos("x")),
         "@~ Song\na\n  b\n\nc\n~@.x 1900\n"},
        {Block::Stichoi{true, std::nullopt, {}, {{{text("a")}}, {{text("b")}}}, {}, {}, Taxis::of(4)},
         "@@@=\na\n\nb\n=@@@\n"},
        {Block::Stichoi{true, std::nullopt, {text("L")}, {}, {text("H")}, onym("o"), {}}, "@@@= L\n=@@@(o) H\n"},
        {Block::Diaphane{{paragraph({text("a")}), paragraph({text("b")})}, genos("g")}, "@@@.\na\n\nb\n.@@@.g\n"},
        {Block::MonadEnlexis{"x", {}}, "@@@\"\nx\n\"@@@\n"},
        {Block::MonadEnlexis{"", {}}, "@@@\"\n\n\"@@@\n"},
        {Block::MonadEnlexis{"  @x\n\n", onym("c")}, "@@@\"\n  @x\n\n\"@@@(c)\n"},
        {Block::Englossis{"other", {paragraph({text("a")})}, {}}, "@@@!(other)\na\n!@@@\n"},
        {Block::Enmedia{"img/a.png"}, "@@@@(img/a.png)\n"},
        {Block::EnmediaDigest{"ab12"}, "@@@@[SHA256:ab12]\n"},
        {Block::Anaphor{"part.ild"}, "@@@(part.ild)\n"},
        {Block::AnaphorEnlexis{"code.txt"}, "@@@+(code.txt)\n"},
        {Block::ParaAxioma{"ax", {paragraph({text("a")})}}, "@@@:\na\n:@@@(ax)\n"},
        {Block::AxiomaReference{false, "ax"}, "@@@(:ax:)\n"},
        {Block::AxiomaReference{true, "ax"}, "@@@+(:ax:)\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(body({c.block}), c.text);
}

// The blank line between two blocks, and its absence next to the blocks
// written as one line of their own (enmedia, anaphor, axioma reference).
TEST(WriteBlocks, BlankLineRule) {
    const std::vector<std::pair<Block, bool>> samples = {
        {paragraph({text("p")}), false},
        {para("#", {text("S")}, {}), false},
        {verse("~", {{{text("v")}}}), false},
        {Block::Diaphane{}, false},
        {Block::MonadEnlexis{"m\n", {}}, false},
        {Block::Englossis{"e", {}, {}}, false},
        {Block::Enmedia{"a.png"}, true},
        {Block::EnmediaDigest{"d"}, true},
        {Block::Anaphor{"f"}, true},
        {Block::AnaphorEnlexis{"f"}, true},
        {Block::ParaAxioma{"ax", {}}, false},
        {Block::AxiomaReference{false, "ax"}, true},
    };
    for (const auto& [first, first_alone] : samples) {
        for (const auto& [second, second_alone] : samples) {
            const std::string blank = first_alone || second_alone ? "" : "\n";
            EXPECT_EQ(body({first, second}), body({first}) + blank + body({second}))
                << int(first.kind()) << " then " << int(second.kind());
        }
    }
    EXPECT_EQ(body({Block::Enmedia{"a.png"}, paragraph({text("Text")})}), "@@@@(a.png)\nText\n");
    // The rule holds inside bodies, and blocks that write nothing change
    // no separator around them.
    EXPECT_EQ(body({para("#", {text("S")},
                         {paragraph({text("a")}), Block::Anaphor{"f"}, paragraph({}), paragraph({text("b")})})}),
              "@# S\na\n@@@(f)\nb\n#@\n");
    EXPECT_EQ(body({Block::Enmedia{"a"}, paragraph({text(" ")}), Block::Enmedia{"b"}}), "@@@@(a)\n@@@@(b)\n");
}

TEST(WriteInlines, EveryInlineForm) {
    const struct {
        Inline item;
        std::string text;
    } cases[] = {
        {endo("*", {text("x")}, genos("em")), "@*x*@.em"},
        {endo("<", {text("x")}), "@<x>@"},
        {endo("<", {text("x")}, {}, false), "@<x<@"},
        {Inline::Enlexis{"a \\@ b", onym("e")}, "@@\"a \\@ b\"@@(e)"},
        {Inline::Diaphane{{text("d")}, Suffix{"o", {"g"}}}, "@@.d.@@(o).g"},
        {monosim(">", "sec-1"), "@>(sec-1)"},
        {Inline::OnymAnchor{"here"}, "@(here)"},
        {Inline::Milestone{"page", "12", genos("x")}, "@(\"page:12\").x"},
        {deixis("^", "n1"), "@^(n1)"},
        {Inline::EndoAxioma{"ax", {text("a")}}, "@@:a:@@(ax)"},
        {Inline::AxiomaReference{"ax", false}, "@@(:ax:)"},
        {Inline::AxiomaReference{"ax", true}, "@@+(:ax:)"},
    };
    for (const auto& c : cases) EXPECT_EQ(line({text("a "), c.item, text(" b")}), "a " + c.text + " b");
}

TEST(WriteInlines, SeparatorsAndEscapes) {
    const Inline em = endo("*", {text("x")}, genos("em"), false);
    const struct {
        std::vector<Inline> inlines;
        std::string text;
    } cases[] = {
        // A text that would continue the genos, or read as a suffix.
        {{em, text("ab")}, "@*x*@.em|ab"},
        {{em, text("-ab")}, "@*x*@.em|-ab"},
        {{em, text("2")}, "@*x*@.em|2"},
        {{em, text("Ab")}, "@*x*@.emAb"},
        {{em, text(" ab")}, "@*x*@.em ab"},
        {{monosim(">", "a"), text("(aside)")}, "@>(a)|(aside)"},
        {{monosim(">", "a"), text(".x")}, "@>(a)|.x"},
        {{monosim(">", "a"), text(".X")}, "@>(a).X"},
        {{monosim(">", "a"), text(". x")}, "@>(a). x"},
        {{monosim(">", "a"), text(".")}, "@>(a)."},
        // The sigil always, "|" next to markup.
        {{text("a@b")}, "a\\@b"},
        {{monosim(">", "a"), text("|x")}, "@>(a)\\|x"},
        {{text("x|"), monosim(">", "a")}, "x\\|@>(a)"},
        {{text("a|b")}, "a|b"},
        {{text("a\\b\\")}, "a\\b\\"},
        // The episim written by text in front of markup.
        {{endo("*", {text("a*"), monosim(">", "p")})}, "@*a*|@>(p)*@"},
        {{endo("*", {text("a*")})}, "@*a**@"},
        // An escaped "|" is no scanning position: no separator after it.
        {{endo("|", {text("a|"), monosim(">", "p")})}, "@|a\\|@>(p)||@"},
    };
    for (const auto& c : cases) EXPECT_EQ(line(c.inlines), c.text);
}

// A backslash directly before "|" or before markup would escape what follows.
TEST(WriterMends, BackslashBeforeBarOrMarkup) {
    EXPECT_EQ(line({text("a\\|b")}), "a\\\\|b");
    EXPECT_EQ(line({text("\\@")}), "\\\\@");
    // Trailing backslashes in front of markup become an enlexis.
    EXPECT_EQ(line({text("a\\\\"), monosim(">", "p")}), "a@@\"\\\\\"@@@>(p)");
    EXPECT_EQ(line({text("\\"), monosim(">", "p")}), "@@\"\\\"@@@>(p)");
    // ... and in front of a closer that begins with "|".
    EXPECT_EQ(line({endo("|", {text("a\\")})}), "@|a@@\"\\\"@@||@");
    EXPECT_EQ(line({endo("*", {text("a\\")})}), "@*a\\*@");
}

// The hypograph follows a space, which already ends the suffix: a text
// that looks like a suffix needs no guard there.
TEST(WriterMends, HypographIsNotAfterMarkup) {
    EXPECT_EQ(body({para("#", {text("T")}, {}, {}, {text("(aside)")})}), "@# T\n#@ (aside)\n");
    EXPECT_EQ(body({para("#", {text("T")}, {}, genos("g"), {text("|x")})}), "@# T\n#@.g |x\n");
}

// Onym anchors, endo-axiomata and axioma references read no suffix.
TEST(WriterMends, NoSuffixGuardAfterItemsWithoutSuffix) {
    for (const Inline& item : {Inline(Inline::OnymAnchor{"o"}), Inline(Inline::EndoAxioma{"o", {text("a")}}),
                               Inline(Inline::AxiomaReference{"o", false})}) {
        const std::string written = line({item});
        EXPECT_EQ(line({item, text("(x)")}), written + "(x)");
        EXPECT_EQ(line({item, text(".x")}), written + ".x");
        EXPECT_EQ(line({item, text("|x")}), written + "|x");
    }
}

// A line of a para-simmere body or a verse line whose text and the markup
// after it would begin with the closer of the block.
TEST(WriterMends, LineThatWouldCloseItsBlock) {
    const Inline em = endo("/", {text("x")});
    EXPECT_EQ(body({para("#", {}, {paragraph({text("#"), em})})}), "@#\n#|@/x/@\n#@\n");
    EXPECT_EQ(body({para("#", {}, {paragraph({text("a\n  #"), em})})}), "@#\na\n#|@/x/@\n#@\n");
    EXPECT_EQ(body({verse("~", {{{text("  ~"), em}}})}), "@~\n  ~|@/x/@\n~@\n");
    // Not where the line goes on differently.
    EXPECT_EQ(body({para("#", {}, {paragraph({text("##"), em})})}), "@#\n##@/x/@\n#@\n");
    EXPECT_EQ(body({paragraph({text("#"), em})}), "#@/x/@\n");
    // A closer of inline markup that begins a line.
    EXPECT_EQ(body({para("/", {}, {paragraph({endo("/", {text("a\n")})})})}), "@/\n@/a\n@@@//@@@/@\n/@\n");
    EXPECT_EQ(body({para("/", {}, {paragraph({endo("*", {text("a\n")})})})}), "@/\n@*a\n*@\n/@\n");
}

// A deixis is a para-simmere token to the block parser.
TEST(WriterMends, DeixisOpeningAParagraphLine) {
    EXPECT_EQ(body({paragraph({text("a\n"), deixis("^", "n1"), text(" b")})}), "a\n|@^(n1) b\n");
    EXPECT_EQ(body({paragraph({endo("*", {text("a\n"), deixis("^", "n1")})})}), "@*a\n|@^(n1)*@\n");
    // On the first line only a target that reads as a taxis needs it.
    EXPECT_EQ(body({paragraph({deixis("^", "n1"), text(" b")})}), "@^(n1) b\n");
    EXPECT_EQ(body({paragraph({text("  "), deixis("^", "12"), text(" b")})}), "|@^(12) b\n");
    // Inside an aside, "|@" would close it.
    EXPECT_EQ(body({para("|", {}, {paragraph({deixis("^", "12")})})}), "@|\n@@@//@@@@^(12)\n|@\n");
    // Verse lines are not classified as blocks.
    EXPECT_EQ(body({verse("~", {{{deixis("^", "1")}}})}), "@~\n@^(1)\n~@\n");
}

// Where a symbol would run on into the symbol characters after it, the
// parser would find a longer sim.
TEST(WriterMends, SymbolThatWouldReadLonger) {
    const Dialektos d = fixture();
    EXPECT_EQ(line({endo("*", {text("/x")})}, &d), "@*@@@//@@@/x*@");
    EXPECT_EQ(line({endo("*", {})}, &d), "@*@@@//@@@*@");
    EXPECT_EQ(line({endo("*", {text("*"), monosim(">", "p")})}, &d), "@*@@@//@@@*|@>(p)*@");
    EXPECT_EQ(line({endo("*", {text("x/")})}, &d), "@*x/*@");
    EXPECT_EQ(line({endo("/", {text("*")})}, &d), "@/*/@");
    // Without the dialektos nothing is known about other symbols.
    EXPECT_EQ(line({endo("*", {text("/x")})}), "@*/x*@");
    // A sim whose symbol and "(" begin a longer symbol, or whose symbol
    // begins with "(", is named.
    EXPECT_EQ(line({deixis(":", "t")}, &d), "@{dialogue}(t)");
    EXPECT_EQ(body({para(":", {text("L")}, {}, {}, {}, Taxis::of(1))}, &d), "@{dialogue}(1) L\n{dialogue}@\n");
    EXPECT_EQ(body({para(":", {text("L")}, {})}, &d), "@: L\n:@\n");
    EXPECT_EQ(line({endo("(", {text("x")})}, &d), "@{paren}x{paren}@");
    EXPECT_EQ(line({monosim(">", "x")}, &d), "@>(x)");
}

// After an item that reads a suffix, a closer that the suffix reader would
// take ("|", "(" for an empty suffix, "-" after a genos) is kept apart.
TEST(WriterMends, CloserAfterASuffix) {
    EXPECT_EQ(line({endo("|", {monosim(">", "p")})}), "@|@>(p)||@");
    EXPECT_EQ(line({endo(")", {monosim(">", "p")})}), "@)@>(p)|(@");
    EXPECT_EQ(line({endo(")", {monosim(">", "p", onym("o"))})}), "@)@>(p)(o)(@");
    EXPECT_EQ(line({endo(":-", {monosim(">", "p", genos("g"))})}), "@:-@>(p).g|-:@");
    EXPECT_EQ(line({endo(":-", {monosim(">", "p")})}), "@:-@>(p)-:@");
}

// Text ending in "." or ":" in front of markup opened by two sigils would
// close an inline diaphane or endo-axioma.
TEST(WriterMends, GroupCloserFormedByText) {
    const Inline enlexis = Inline::Enlexis{"x", {}};
    EXPECT_EQ(line({Inline::Diaphane{{text("a."), enlexis}, {}}}), "@@.a.|@@\"x\"@@.@@");
    EXPECT_EQ(line({Inline::Diaphane{{text("a."), monosim(">", "p")}, {}}}), "@@.a.@>(p).@@");
    EXPECT_EQ(line({Inline::EndoAxioma{"o", {text("a:"), Inline::AxiomaReference{"r", false}}}}),
              "@@:a:|@@(:r:):@@(o)");
}

// Empty texts are nothing: they leave the separators as they were.
TEST(WriterMends, EmptyTextsAndSplitTexts) {
    const Inline em = endo("*", {text("x")}, genos("em"));
    EXPECT_EQ(line({em, text(""), text("ab")}), "@*x*@.em|ab");
    EXPECT_EQ(line({endo("*", {text("a*"), text(""), monosim(">", "p")})}), "@*a*|@>(p)*@");
    EXPECT_EQ(line({text("x|"), text(""), monosim(">", "p")}), "x\\|@>(p)");
    // Texts side by side are written as the one text they read back as.
    EXPECT_EQ(line({text("a\\"), text("|b")}), "a\\\\|b");
}

// What the parser trims at the ends of a line is not written, so that the
// text reads back to itself.
TEST(WriterMends, WhiteSpaceThatTheParserTrims) {
    EXPECT_EQ(body({para("#", {text("  T  "), monosim(">", "p"), text(" ")}, {}, {}, {text(" h ")})}),
              "@# T  @>(p)\n#@ h\n");
    EXPECT_EQ(body({para("#", {text("  ")}, {})}), "@#\n#@\n");
    EXPECT_EQ(body({paragraph({text("  a \n   b")})}), "a \nb\n");
    // Blank lines inside a paragraph would end it.
    EXPECT_EQ(body({paragraph({text("a\n\n  \nb")})}), "a\nb\n");
    EXPECT_EQ(body({verse("~", {{{text("  a  ")}, {text("b")}}})}), "@~\n  a\nb\n~@\n");
}

// Lines that must not be blank, and are not blank in the tree either.
TEST(WriterMends, LinesThatWouldBeBlank) {
    EXPECT_EQ(body({paragraph({text("a\n")})}), "a\n@@/\n");
    EXPECT_EQ(body({paragraph({endo("*", {text("a")}), text("\n  ")})}), "@*a*@\n@@/\n");
    EXPECT_EQ(body({verse("~", {{{text("a")}, {}, {text("  ")}, {text("b")}}})}), "@~\na\n@@/\n@@/\nb\n~@\n");
    // An empty strophe writes nothing at all.
    EXPECT_EQ(body({verse("~", {{{text("a")}}, {}, {{text("b")}}})}), "@~\na\n\nb\n~@\n");
}

// Literal text and parameters that their written form cannot hold as they
// are (trees of importers hold them): written so that they read back with
// their content.
TEST(WriterMends, LiteralsThatTheirFormCannotHold) {
    const struct {
        std::vector<Block> blocks;
        std::string text;
    } cases[] = {
        // An enlexis holding its closer, in pieces that do not.
        {{paragraph({Inline::Enlexis{"x\"@@y", onym("e")}})}, "@@\"x\"\"@@@@\"@@y\"@@(e)\n"},
        // Line feeds of an enlexis between its pieces where the next line
        // would begin with white space the parser trims, or be blank; the
        // others stay inside.
        {{paragraph({Inline::Enlexis{"x\n  y\n\n", {}}})}, "@@\"x\"@@\n@@\"  y\"@@\n@@\"\n\"@@\n"},
        {{paragraph({Inline::Enlexis{"a\nb\n@@c", {}}})}, "@@\"a\nb\n@@c\"@@\n"},
        {{para("#", {}, {paragraph({Inline::Enlexis{"a\n#@\n@#", {}}})})}, "@#\n@@\"a\"@@\n@@\"#@\"@@\n@@\"@#\"@@\n#@\n"},
        // A line that is only the start of the block's closer does not
        // close the block: it stays inside.
        {{para("#", {}, {paragraph({Inline::Enlexis{"a\n#\nb", {}}})})}, "@#\n@@\"a\n#\nb\"@@\n#@\n"},
        // A text of one line has no line feed to give.
        {{para("#", {Inline::Enlexis{"x\ny", {}}}, {}, {}, {text("a\nb")})}, "@# @@\"x\"@@ @@\"y\"@@\n#@ a b\n"},
        {{verse("~", {{{text("a\nb")}}})}, "@~\na b\n~@\n"},
        // Carriage returns that a line would lose at its end.
        {{paragraph({text("a\r\nb\r")})}, "a\r@@@//@@@\nb\r@@@//@@@\n"},
        {{paragraph({text("a\rb\r"), monosim(">", "p")})}, "a\rb\r@>(p)\n"},
        // A monad-enlexis line that would close it, and carriage returns at
        // line ends, which a document line cannot keep.
        {{Block::MonadEnlexis{"a\n  \"@@@ b\nc\n", genos("g")}},
         "@@@\"\na\n\"@@@.g\n\n@@\"  \"\"@@@@\"@@@ b\"@@\n\n@@@\"\nc\n\"@@@.g\n"},
        {{Block::MonadEnlexis{"a\r\nb\r", {}}}, "@@@\"\na\nb\n\"@@@\n"},
        // Parameters with white space, and ")" inside running text.
        {{Block::Enmedia{"a b)"}, Block::Anaphor{"a\tb"}, Block::AnaphorEnlexis{"x)y"}},
         "@@@@(a%20b))\n@@@(a%09b)\n@@@+(x)y)\n"},
        {{paragraph({monosim(">", "a)b c")})}, "@>(a%29b%20c)\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(body(c.blocks), c.text);
}

// The parser reads a lemma or hypograph of nothing but a comment as an
// empty list; where the sim requires one, it is written that way again.
TEST(WriterMends, RequiredLemmaAndHypographThatAreEmpty) {
    Dialektos d = fixture();
    add_sim(d, "entry", "&", ParaSimmere{SimBody::Grammata, false, Occurrence::Absent, Occurrence::Required,
                                         Occurrence::Required});
    EXPECT_EQ(body({para("&", {}, {})}, &d), "@& @@/\n&@ @@/\n");
    EXPECT_EQ(body({para("&", {text(" ")}, {}, genos("g"))}, &d), "@& @@/\n&@.g @@/\n");
    EXPECT_EQ(body({para("{entry}", {}, {})}, &d), "@{entry} @@/\n{entry}@ @@/\n");
    EXPECT_EQ(body({para("#", {}, {})}, &d), "@#\n#@\n");
    EXPECT_EQ(body({para("&", {}, {})}), "@&\n&@\n");
}

TEST(WriteInlines, NestingAsDeepAsParsedTreesGo) {
    Inline item = text("core");
    for (int i = 0; i < 256; ++i) item = Inline::Diaphane{{item}, {}};
    std::string expected;
    for (int i = 0; i < 256; ++i) expected += "@@.";
    expected += "core";
    for (int i = 0; i < 256; ++i) expected += ".@@";
    EXPECT_EQ(line({item}), expected);
}

TEST(WriteSuffix, OnymThenGenoses) {
    std::string out;
    write_suffix(Suffix{"a1", {"x", "y"}}, out);
    write_suffix(Suffix{}, out);
    write_suffix(genos("z"), out);
    EXPECT_EQ(out, "(a1).x.y.z");
}

}  // namespace
}  // namespace ilvex
