#include <gtest/gtest.h>

#include "block_fixture.hpp"

namespace ilvex {
namespace {

using namespace ilvex::fixture;
using K = BlockKind;

std::string doc(std::string_view body) { return "@@@!sample\n" + std::string(body); }
std::string backslash_doc(std::string_view body) { return "\\\\\\!sample\n" + std::string(body); }

Block paragraph(std::string text) { return Block::Paragraph{text_inlines(std::move(text))}; }

struct KindsCase {
    std::string_view body;
    std::vector<BlockKind> kinds;
};

void expect_kinds(const std::vector<KindsCase>& cases) {
    for (const KindsCase& c : cases) {
        EXPECT_EQ(kinds(blocks_of(doc(c.body))), c.kinds) << c.body;
    }
}

TEST(BlockParser, ClassifiesLinesBySigilRun) {
    expect_kinds({
        {"Hello", {K::Paragraph}},
        {"@(anchor) text", {K::Paragraph}},  // run 1 before "(": onym anchor
        {"@*b*@ text", {K::Paragraph}},      // run 1, endo-simmere sim
        {"@$(x) text", {K::Paragraph}},      // run 1, monosim
        {"@# Title\n#@", {K::Para}},         // run 1, grammata para-simmere
        {"@~\nline\n~@", {K::Stichoi}},      // run 1, stichos para-simmere
        {"@@/ remark", {K::Paragraph}},      // run 2
        {"@@@.\n.@@@", {K::Diaphane}},       // run 3
        {"@@@@(img/a.png)", {K::Enmedia}},   // run 4
        {"", {}},
        {"\n\n   \n\t\n", {}},
        {"a\n\n\nb\n\n", {K::Paragraph, K::Paragraph}},
    });
    EXPECT_EQ(outcome(doc("@@@@@x")), "doc.ild:2:1: sigil run of 5 characters (maximum is four)");
    EXPECT_EQ(outcome(doc("\n  @@@@@@@")),
              "doc.ild:3:1: sigil run of 7 characters (maximum is four)");
}

TEST(BlockParser, IgnoresIndentation) {
    expect_kinds({
        {"   @@@.\n  x\n\t.@@@", {K::Diaphane}},
        {"  @# Title\n    x\n  #@", {K::Para}},
        {" \u00A0@@@@(x)", {K::Enmedia}},
        {"   @@@/ note /@@@", {}},
    });
    EXPECT_EQ(blocks_of(doc("   Hello\n      world")),
              std::vector<Block>{paragraph("Hello\nworld")});
}

// A paragraph's text is its lines joined by line feeds, each without its
// leading white space, whether the lines are read in place or copied: the
// first line that is indented or ends in a carriage return switches over.
TEST(BlockParser, JoinsParagraphLines) {
    const std::vector<std::pair<std::string_view, std::string>> cases = {
        {"a\nb\nc", "a\nb\nc"},
        {"a\n  b\nc", "a\nb\nc"},
        {"a\nb\n\tc\nd", "a\nb\nc\nd"},
        {"a\r\nb\r\nc", "a\nb\nc"},
        {"a\nb\r\nc\nd", "a\nb\nc\nd"},
        {"a\r\r\nb", "a\nb"},
        {"  a\nb", "a\nb"},
    };
    for (const auto& [body, text] : cases) {
        EXPECT_EQ(blocks_of(doc(body)), std::vector<Block>{paragraph(text)}) << body;
    }
}

TEST(BlockParser, BuildsTheTrigraphAndEnmediaBlocks) {
    const std::vector<std::pair<std::string_view, Block>> cases = {
        {"@@@@(img/a.png)", Block::Enmedia{"img/a.png"}},
        {"@@@(x)", Block::Anaphor{"x"}},
        {"@@@()", Block::Anaphor{""}},
        {"@@@(:)", Block::Anaphor{":"}},
        {"@@@(:x:)", Block::AxiomaReference{false, "x"}},
        {"@@@(::)", Block::AxiomaReference{false, ""}},
        {"@@@+(x)", Block::AnaphorEnlexis{"x"}},
        {"@@@+(:x:)", Block::AxiomaReference{true, "x"}},
        {"@@@+(:-weak-:)", Block::AxiomaReference{true, "-weak-"}},
        {"@@@\"\na\n  b\n\"@@@", Block::MonadEnlexis{"a\n  b\n", {}}},
        {"@@@\"\n\"@@@", Block::MonadEnlexis{"", {}}},
        {"@@@\"  \n@@@.\n\n  #@\n  \"@@@", Block::MonadEnlexis{"@@@.\n\n  #@\n", {}}},
        {"@@@\"\nx\n\"@@@(lit).code", Block::MonadEnlexis{"x\n", Suffix{"lit", {"code"}}}},
        {"@@@. note\nx\n.@@@", Block::Diaphane{{paragraph("x")}, {}}},
        {"@@@.\n.@@@.aside", Block::Diaphane{{}, Suffix{std::nullopt, {"aside"}}}},
        {"@@@: note\nx\n:@@@(ax-1)", Block::ParaAxioma{"ax-1", {paragraph("x")}}},
        {"@@@!(koine)\nHi\n!@@@", Block::Englossis{"koine", {paragraph("Hi")}, {}}},
    };
    for (const auto& [body, block] : cases) {
        auto blocks = blocks_of(doc(body));
        ASSERT_EQ(blocks.size(), 1u) << body;
        EXPECT_EQ(blocks[0], block) << body;
    }
}

TEST(BlockParser, BlockComments) {
    expect_kinds({
        {"@@@/ note /@@@", {}},
        {"@@@//@@@", {}},
        {"@@@/ note\nmore\n  /@@@  \nafter", {K::Paragraph}},
        {"@@@/\n\n@# not a header\n/@@@", {}},
        {"@@@/ note /@@@ more", {K::Paragraph}},
    });
    // A closer inside running text makes the opener line a paragraph.
    auto blocks = blocks_of(doc("@@@/ a\nb /@@@ c"));
    EXPECT_EQ(kinds(blocks), (std::vector{K::Paragraph}));
}

TEST(BlockParser, BackslashDocuments) {
    auto parse = [](std::string_view body) { return parse_sample(backslash_doc(body)); };
    auto diaphane = parse("\\\\\\.\nx\n.\\\\\\");
    ASSERT_TRUE(diaphane) << error_message(diaphane.error());
    const std::vector<Block> expected{Block::Diaphane{{paragraph("x")}, {}}};
    EXPECT_EQ(diaphane->blocks, expected);

    auto at_text = parse("@@@.\n@# x");
    ASSERT_TRUE(at_text);
    EXPECT_EQ(kinds(at_text->blocks), std::vector{K::Paragraph});

    auto para = parse("\\# Title\nx\n#\\");
    ASSERT_TRUE(para);
    EXPECT_EQ(kinds(para->blocks), std::vector{K::Para});

    auto closers = parse("\\\\\\\"\nraw\n\"\\\\\\\n\\\\\\= L\nv\n=\\\\\\\n\\\\\\\\(m)");
    ASSERT_TRUE(closers) << error_message(closers.error());
    EXPECT_EQ(kinds(closers->blocks), (std::vector{K::MonadEnlexis, K::Stichoi, K::Enmedia}));

    const std::vector<std::pair<std::string_view, std::string>> failures = {
        {"\\\\\\\\\\x", "doc.ild:2:1: sigil run of 5 characters (maximum is four)"},
        {"\\\\\\x", "doc.ild:2:1: undefined sim `\\\\\\x`"},
        {"\\?x", "doc.ild:2:1: undefined sim `\\?`"},
        {"\\\\\\.\nx",
         "doc.ild:2:1: unmatched sim `block closed by `.\\\\\\` (opened near here)` "
         "(episim not found)"},
        {"\\\\\\/ x", "doc.ild:2:1: unmatched sim `\\\\\\/` (episim not found)"},
        {"\\~\nx", "doc.ild:2:1: unmatched sim `\\~` (episim not found)"},
    };
    for (const auto& [body, message] : failures) {
        auto parsed = parse(body);
        ASSERT_FALSE(parsed) << body;
        EXPECT_EQ(error_message(parsed.error()), message) << body;
    }
}

TEST(BlockParser, FailureTable) {
    const std::string unmatched_block = "unmatched sim `block closed by `";
    const std::vector<std::pair<std::string_view, std::string>> cases = {
        {"@", "doc.ild:2:1: undefined sim `@`"},
        {"@xyz", "doc.ild:2:1: undefined sim `@`"},
        {"\n\n@?!x y", "doc.ild:4:1: undefined sim `@?!`"},
        {"@{nosuch} x", "doc.ild:2:1: undefined sim `{nosuch}`"},
        {"@{section x", "doc.ild:2:1: unterminated plerographic name reference"},
        {"@@@", "doc.ild:2:1: undefined sim `@@@`"},
        {"@@@x", "doc.ild:2:1: undefined sim `@@@x`"},
        {"@@@\u00E9t\u00E9", "doc.ild:2:1: undefined sim `@@@\u00E9`"},
        {"@@@@", "doc.ild:2:1: malformed enmedia monosim"},
        {"@@@@(x", "doc.ild:2:1: malformed enmedia monosim"},
        {"@@@@x)", "doc.ild:2:1: malformed enmedia monosim"},
        {"@@@@(x) ", "doc.ild:2:1: malformed enmedia monosim"},
        {"@@@@[SHA256:abcd]", "doc.ild:2:1: malformed enmedia monosim"},
        {"@@@@(a b)", "doc.ild:2:1: monosim parameter contains whitespace: `a b`"},
        {"@@@!", "doc.ild:2:1: dialektos declaration is only valid on the first content line"},
        {"@@@!foo", "doc.ild:2:1: dialektos declaration is only valid on the first content line"},
        {"@@@!(", "doc.ild:2:1: malformed monad-englossis header"},
        {"@@@!(koine", "doc.ild:2:1: malformed monad-englossis header"},
        {"@@@!(koine) x", "doc.ild:2:1: malformed monad-englossis header"},
        {"@@@!(a b)", "doc.ild:2:1: monosim parameter contains whitespace: `a b`"},
        {"@@@\" x", "doc.ild:2:1: content after monad-enlexis opener"},
        {"@@@(", "doc.ild:2:1: malformed trigraph monosim"},
        {"@@@(x", "doc.ild:2:1: malformed trigraph monosim"},
        {"@@@(x) ", "doc.ild:2:1: malformed trigraph monosim"},
        {"@@@( a )", "doc.ild:2:1: monosim parameter contains whitespace: ` a `"},
        {"@@@(:a b:)", "doc.ild:2:1: monosim parameter contains whitespace: `:a b:`"},
        {"@@@+", "doc.ild:2:1: malformed anaphor-enlexis monosim"},
        {"@@@+x", "doc.ild:2:1: malformed anaphor-enlexis monosim"},
        {"@@@+(", "doc.ild:2:1: malformed anaphor-enlexis monosim"},
        {"@@@+(x", "doc.ild:2:1: malformed anaphor-enlexis monosim"},
        {"@@@+x(y)", "doc.ild:2:1: malformed anaphor-enlexis monosim"},
        {"@@@+(a\tb)", "doc.ild:2:1: monosim parameter contains whitespace: `a\tb`"},
        {"@@@:\nx\n:@@@", "doc.ild:4:1: para-axioma requires `(onym)` on its episim"},
        {"@@@:\nx\n:@@@ (ax)", "doc.ild:4:1: para-axioma requires `(onym)` on its episim"},
        {"@@@:\nx\n:@@@(ax) more", "doc.ild:4:1: para-axioma requires `(onym)` on its episim"},
        {"@@@:\n\n  :@@@(a b)", "doc.ild:4:1: invalid onym identifier `a b`"},
        {"@@@:\n:@@@()", "doc.ild:3:1: invalid onym identifier ``"},
        {"@@@:\n:@@@(-a)", "doc.ild:3:1: invalid onym identifier `-a`"},
        {"\n\n@# Title\nx",
         "doc.ild:4:1: " + unmatched_block + "#@` (opened near here)` (episim not found)"},
        {"@< Quote\nx\n<@(x)",
         "doc.ild:2:1: " + unmatched_block + ">@` (opened near here)` (episim not found)"},
        {"@@@.\nx",
         "doc.ild:2:1: " + unmatched_block + ".@@@` (opened near here)` (episim not found)"},
        {"@@@.\n@@@.\nx\n.@@@",
         "doc.ild:2:1: " + unmatched_block + ".@@@` (opened near here)` (episim not found)"},
        {"x\n@@@:\ny",
         "doc.ild:3:1: " + unmatched_block + ":@@@` (opened near here)` (episim not found)"},
        {"@@@!(koine)\nx",
         "doc.ild:2:1: " + unmatched_block + "!@@@` (opened near here)` (episim not found)"},
        {"@@@.\n@@@!(koine)\n\n",
         "doc.ild:3:1: " + unmatched_block + "!@@@` (opened near here)` (episim not found)"},
        {"\n@@@\"\nabc\n\"@@", "doc.ild:3:1: unmatched sim `@@@\"` (episim not found)"},
        {"@@@/ a\nb\n/@@", "doc.ild:2:1: unmatched sim `@@@/` (episim not found)"},
        {"@@@.\nx\n.@@@ extra", "doc.ild:4:1: unexpected content after `.@@@`: `extra`"},
        {"@@@.\n.@@@ (x)", "doc.ild:3:1: unexpected content after `.@@@`: `(x)`"},
        {"@@@!(koine)\n!@@@ x", "doc.ild:3:1: unexpected content after `!@@@`: `x`"},
        {"@@@\"\n\"@@@ x", "doc.ild:3:1: unexpected content after `\"@@@`: `x`"},
    };
    for (const auto& [body, message] : cases) {
        EXPECT_EQ(outcome(doc(body)), message) << body;
    }
}

// A monad-englossis names a dialektos, never a path: nothing but a valid
// name reaches resolution, which only reads "<id>.lektos" and "<id>.dia".
TEST(BlockParser, EnglossisIdsAreNames) {
    for (std::string_view id : {"../x", "/x", "", "a/b", ".", "x.lektos", "-x", "a_b"}) {
        EXPECT_EQ(outcome(doc("@@@!(" + std::string(id) + ")\n!@@@")),
                  "doc.ild:2:1: malformed monad-englossis header")
            << id;
    }
    auto unresolved = parse_sample(doc("@@@!(no-such-dialektos-here)\n!@@@"));
    ASSERT_FALSE(unresolved);
    EXPECT_EQ(unresolved.error().kind, ErrorKind::UnresolvedDialektos);
    EXPECT_EQ(unresolved.error().location, std::nullopt);
}

TEST(BlockParser, SimTokenDecidesBetweenHeaderAndParagraph) {
    expect_kinds({
        {"@#(12) Title\n#@", {K::Para}},
        {"@#() Title\n#@", {K::Para}},
        {"@# (12) Title\n#@", {K::Para}},
        {"@#(12 Title\n#@", {K::Para}},
        {"@#(ref) text", {K::Paragraph}},  // a deixis
        {"@#(1a) text", {K::Paragraph}},
        {"@&(12) Title", {K::Paragraph}},  // a sim without taxis
        {"@~(3) x", {K::Paragraph}},
        {"@[[ Box\n[[@", {K::Para}},  // the longest symbol wins
        {"@{section} Title\n{section}@", {K::Para}},
        {"@{section}(7) Title\n{section}@", {K::Para}},
        {"@{section}(ref) text", {K::Paragraph}},
    });
    // An empty "()" for a sim without taxis is no header either: the inline
    // parser reads the line as a deixis without target.
    EXPECT_EQ(outcome(doc("@&() Title\n&@")), "doc.ild:2:5: invalid onym identifier ``");
}

TEST(BlockParser, PlerographicOpenersNeedPlerographicClosers) {
    // "#@(x)" reads as text and an onym anchor; it must not close the block.
    auto blocks = blocks_of(doc("@{section} Title\n#@(x)\n{section}@"));
    ASSERT_EQ(kinds(blocks), std::vector{K::Para});
    const auto& para = std::get<Block::Para>(blocks[0].node);
    EXPECT_EQ(para.symbol, "#");
    EXPECT_EQ(kinds(para.children), std::vector{K::Paragraph});
    EXPECT_TRUE(para.suffix.empty());

    Dialektos localized = sample_dialektos();
    localized.glossae["de"] = {{"#", "abschnitt"}};
    auto german = parse_with(localized, doc("@{abschnitt} Titel\nx\n{abschnitt}@"));
    ASSERT_TRUE(german) << error_message(german.error());
    EXPECT_EQ(std::get<Block::Para>(german->blocks[0].node).symbol, "#");
}

TEST(Paragraphs, JoinLinesWithTheirStartTrimmed) {
    EXPECT_EQ(blocks_of(doc("a\n  b  \n\tc")), std::vector<Block>{paragraph("a\nb  \nc")});
}

TEST(Paragraphs, EndConditionsAndNearMisses) {
    expect_kinds({
        // a blank line; an indented line is none
        {"a\n\nb", {K::Paragraph, K::Paragraph}},
        {"a\n \t \nb", {K::Paragraph, K::Paragraph}},
        {"a\n b", {K::Paragraph}},
        // the closer of the enclosing body; a line that merely contains it
        {"@# T\na\n#@", {K::Para}},
        {"@@@.\na\n  .@@@", {K::Diaphane}},
        // a para-simmere token, even one that begins a deixis
        {"a\n@# T\n#@", {K::Paragraph, K::Para}},
        {"a\n@{section} T\n{section}@", {K::Paragraph, K::Para}},
        {"a\n@#(ref) b", {K::Paragraph, K::Paragraph}},
        {"a\n@*b*@ c", {K::Paragraph}},
        {"a\n@$(t) c", {K::Paragraph}},
        {"a\n@(x) c", {K::Paragraph}},
        // a trigraph block opener
        {"a\n@@@.\nb\n.@@@", {K::Paragraph, K::Diaphane}},
        {"a\n@@@\"\nb\n\"@@@", {K::Paragraph, K::MonadEnlexis}},
        {"a\n@@@(x)", {K::Paragraph, K::Anaphor}},
        {"a\n@@@+(x)", {K::Paragraph, K::AnaphorEnlexis}},
        {"a\n@@@:\nb\n:@@@(n)", {K::Paragraph, K::ParaAxioma}},
        {"a\n@@@=\nb\n=@@@", {K::Paragraph, K::Stichoi}},
        {"a\n@@@!(koine)\nb\n!@@@", {K::Paragraph, K::Englossis}},
        // a comment opener, unless its closer stands inside the line
        {"a\n@@@/ c /@@@", {K::Paragraph}},
        {"a\n@@@/\nc\n/@@@\nb", {K::Paragraph, K::Paragraph}},
        {"a\n@@@/ c /@@@ d", {K::Paragraph}},
        // an enmedia line; a line comment is none
        {"a\n@@@@(m)", {K::Paragraph, K::Enmedia}},
        {"a\n@@/ note", {K::Paragraph}},
    });
    auto closer_text = blocks_of(doc("@# T\na\n#\\@ b\n#@"));
    ASSERT_EQ(kinds(closer_text), std::vector{K::Para});
    EXPECT_EQ(kinds(std::get<Block::Para>(closer_text[0].node).children),
              std::vector{K::Paragraph});
    // "@@@!" ends the paragraph and is refused as a block form.
    EXPECT_EQ(outcome(doc("a\n@@@!foo")),
              "doc.ild:3:1: dialektos declaration is only valid on the first content line");
    // Lines the block parser leaves in the paragraph are judged inline.
    EXPECT_EQ(outcome(doc("a\n@@@x")), "doc.ild:3:1: trigraph block form in endo-context");
    EXPECT_EQ(outcome(doc("a\n @@@@@")),
              "doc.ild:3:1: sigil run of 5 characters (maximum is four)");
    EXPECT_EQ(outcome(doc("a\n@?x")), "doc.ild:3:1: undefined sim `@?`");
}

TEST(Paragraphs, InlineContentKeepsItsLines) {
    EXPECT_EQ(blocks_of(doc("@@/ remark")), std::vector<Block>{Block::Paragraph{}});
    const Block escaped_closer =
        Block::Para{true, "#", text_inlines("T"), {paragraph("a\n#@ b")}, {}, {}, Taxis::absent()};
    EXPECT_EQ(blocks_of(doc("@# T\na\n#\\@ b\n#@")), std::vector<Block>{escaped_closer});
    // The third line of a paragraph that begins on line 10, its leading white
    // space removed.
    EXPECT_EQ(outcome(doc("\n\n\n\n\n\n\n\na\n  b\n    c @x")), "doc.ild:12:3: undefined sim `@`");
    // A comment opener whose closer stands in running text begins a
    // paragraph, read as one inline comment; without the closer in that
    // paragraph it fails there.
    EXPECT_EQ(blocks_of(doc("@@@/ a\nb /@@@ c")), std::vector<Block>{paragraph(" c")});
    EXPECT_EQ(outcome(doc("@@@/ a\n\nb /@@@ c")),
              "doc.ild:2:7: unmatched sim `@@@/` (episim not found)");
}

TEST(OutlineRecords, FinishingOrderDepthAndLines) {
    auto parsed =
        parse_sample(doc("\n"                // 2
                         "@# @*Title*@  \n"  // 3
                         "intro\n"           // 4
                         "@@@.\n"            // 5
                         "x\n"               // 6
                         ".@@@.note\n"       // 7
                         "\n"                // 8
                         "#@(s1).a.b\n"      // 9
                         "@~ Song\n"         // 10
                         "la\n"              // 11
                         "~@\n"              // 12
                         "@@@:\n"            // 13
                         "@@@!(koine)\n"     // 14
                         "!@@@(e)\n"         // 15
                         ":@@@(ax)\n"        // 16
                         "@@@=\n"            // 17
                         "=@@@\n"            // 18
                         "@@@\"\n"           // 19
                         "\"@@@\n"           // 20
                         "@@@.\n"            // 21
                         ".@@@"));           // 22
    ASSERT_TRUE(parsed) << error_message(parsed.error());
    struct Expected {
        std::string_view kind;
        std::optional<std::string> symbol;
        std::optional<std::string> name;
        std::string lemma;
        std::optional<std::string> onym;
        std::vector<std::string> genoses;
        std::uint64_t depth, start, end;
    };
    const std::vector<Expected> expected = {
        {"diaphane", std::nullopt, std::nullopt, "", std::nullopt, {"note"}, 1, 5, 7},
        {"para", "#", "section", "Title", "s1", {"a", "b"}, 0, 3, 9},
        {"stichoi", "~", "verse", "Song", std::nullopt, {}, 0, 10, 12},
        {"englossis", "koine", std::nullopt, "", "e", {}, 1, 14, 15},
        {"stichoi", std::nullopt, std::nullopt, "", std::nullopt, {}, 0, 17, 18},
        {"diaphane", std::nullopt, std::nullopt, "", std::nullopt, {}, 0, 21, 22},
    };
    ASSERT_EQ(parsed->records.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const OutlineRecord& r = parsed->records[i];
        const Expected& e = expected[i];
        EXPECT_EQ(r.kind, e.kind) << i;
        EXPECT_EQ(r.symbol, e.symbol) << i;
        EXPECT_EQ(r.name, e.name) << i;
        EXPECT_EQ(r.lemma, e.lemma) << i;
        EXPECT_EQ(r.onym, e.onym) << i;
        EXPECT_EQ(r.genoses, e.genoses) << i;
        EXPECT_EQ(r.depth, e.depth) << i;
        EXPECT_EQ(r.start, e.start) << i;
        EXPECT_EQ(r.end, e.end) << i;
    }
}

// Nested openers of the four body forms, cycling through them.
std::string nested_openers(std::size_t count) {
    const std::string_view openers[] = {"@@@.\n", "@# T\n", "@@@:\n", "@< Q\n"};
    std::string body;
    for (std::size_t i = 0; i < count; ++i) body += openers[i % 4];
    return body;
}

std::string nested_closers(std::size_t count) {
    const std::string_view closers[] = {".@@@\n", "#@\n", ":@@@(n)\n", ">@\n"};
    std::string body;
    for (std::size_t i = count; i-- > 0;) body += closers[i % 4];
    return body;
}

TEST(Nesting, BodiesNestUpTo256Levels) {
    auto parsed = parse_sample(doc(nested_openers(256) + "core\n" + nested_closers(256)));
    ASSERT_TRUE(parsed) << error_message(parsed.error());
    ASSERT_FALSE(parsed->records.empty());
    EXPECT_EQ(parsed->records.front().depth, 255u);
    EXPECT_EQ(parsed->records.back().depth, 0u);

    EXPECT_EQ(outcome(doc(nested_openers(257) + "core\n" + nested_closers(257))),
              "doc.ild:258:1: nesting deeper than 256 levels");
}

TEST(Nesting, DeepInputFailsWithoutExhaustingTheStack) {
    for (std::string_view opener : {"@@@.\n", "@# T\n", "@@@:\n", "@@@!(koine)\n"}) {
        std::string body;
        for (int i = 0; i < 100000; ++i) body += opener;
        EXPECT_EQ(outcome(doc(body)), "doc.ild:258:1: nesting deeper than 256 levels") << opener;
    }
    EXPECT_EQ(outcome(doc(nested_openers(100000))),
              "doc.ild:258:1: nesting deeper than 256 levels");
}

// Inputs that would take minutes if any of them were scanned once per line.
TEST(LargeInputs, AreReadInOnePass) {
    const int n = 50000;
    std::string enlexis = "@@@\"\n", paragraph, verse = "@~\n", comment = "@@@/\n", blocks;
    for (int i = 0; i < n; ++i) {
        enlexis += "raw @@@. line\n";
        paragraph += "@*w*@ word and more words\n";
        verse += i % 7 == 0 ? "\n" : "a verse line\n";
        comment += "commented out\n";
        blocks += "@@@(file)\n@@@@(m)\n";
    }
    enlexis += "\"@@@\n";
    verse += "~@\n";
    comment += "/@@@\n";
    for (const std::string* body : {&enlexis, &paragraph, &verse, &comment, &blocks}) {
        auto parsed = parse_sample(doc(*body));
        ASSERT_TRUE(parsed) << error_message(parsed.error());
    }
    // A comment whose closer turns up in running text: one paragraph.
    auto late_closer = parse_sample(doc(comment.substr(0, comment.size() - 5) + "x /@@@ y\n"));
    ASSERT_TRUE(late_closer);
    EXPECT_EQ(kinds(late_closer->blocks), std::vector{K::Paragraph});
}

}  // namespace
}  // namespace ilvex
