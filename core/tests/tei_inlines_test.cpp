#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "endo/tei/tei_milestone.hpp"
#include "tei_fixture.hpp"

namespace ilvex::testing {
namespace {

TEST(TeiInlines, SpacingOfTextBreaksAndContainers) {
    expect_inlines({
        {"a<lb/>b", "a b"},
        {"a <lb/> b", "a   b"},  // no space is saved
        {"a<pb></pb>b<anchor/>c", "a bc"},
        {"a &amp; b\n   c", "a & b c"},
        {"  x  ", "x"},
        {"a<p>b</p><seg>c</seg>", "a bc"},
        {"<p>b</p>", "b"},
        {"a<l> x </l><l>y</l>", "a / x / y"},
        {"<l>x</l>", "x"},
        {"a<bibl>B</bibl>c", "a B c"},
        {"a <bibl>B</bibl>c", "a B c"},
        {"<emph>a</emph><bibl>B</bibl>", "@/a/@ B"},
        {"x<cit>y</cit>", "xy"},
    });
}

TEST(TeiInlines, SimsAndTheirGenoses) {
    expect_inlines({
        {"<emph>a</emph>", "@/a/@"},
        {"<hi rend=\"bold\">x</hi> <hi rend=\"b\">y</hi> <hi rend=\"italic\">z</hi> <hi>w</hi>",
         "@*x*@ @*y*@ @/z/@ @/w/@"},
        {"<title>T</title> <term>t</term>", "@/T/@.title @/t/@.term"},
        {"<foreign xml:lang=\"la\">x</foreign>", "@/x/@.foreign.la"},
        {"<foreign xml:lang=\"EN\">x</foreign> <foreign xml:lang=\"en_GB\">y</foreign> <foreign>z</foreign>",
         "@/x/@.foreign.en @/y/@.foreign @/z/@.foreign"},
        {"<gloss>a</gloss><sic>b</sic><del>c</del><unclear>d</unclear>",
         "@,a,@.gloss@,b,@.sic@,c,@.del@,d,@.unclear"},
        {"<q who=\"#a\">x</q> <q>y</q> <said>z</said> <soCalled>w</soCalled>",
         "@\"\"x\"\"@.said @\"\"y\"\"@ @\"\"z\"\"@.said @\"\"w\"\"@"},
        {"<quote> x </quote>", "@\"\"x\"\"@"},
        {"<stage>exit</stage>", "@:(exit):@"},
        {"<emph/>a<term/>b<soCalled/>", "ab"},
    });
}

TEST(TeiInlines, GapsMilestonesAndSkippedElements) {
    expect_inlines({
        {"<gap/>", "[\u2026]"},
        {"a<gap reason=\"illegible\">xx<hi>y</hi></gap>b", "a[\u2026]b"},
        {"a<milestone n=\"12\" unit=\"page\"/>b", "a@(\"page:12\")b"},
        {"a<milestone unit=\"page\"/>b", "a b"},
        {"a<milestone n=\"1234567890123456789012345\"/>b", "a b"},
        {"a<milestone n=\"a..b\"/>b", "a b"},
        {"a<milestone n=\"3\">skipped</milestone>b", "a@(\"milestone:3\")b"},
        {"a<idno>1</idno><figure><graphic url=\"x\"/></figure><desc>d</desc>b", "ab"},
        // A self-closing tag is an empty element: nothing after it is skipped.
        {"a<idno/>b<castList/>c", "abc"},
    });
}

TEST(TeiInlines, ApparatusKeepsItsLemmaElseItsFirstReading) {
    expect_inlines({
        {"a <app><rdg>x</rdg><lem>y</lem><rdg>z</rdg></app> b", "a y b"},
        {"a <app><rdg wit=\"#A\">x</rdg><rdg>z</rdg></app> b", "a x b"},
        {"a <app><rdg><graphic/></rdg><lem><hi>y</hi></lem></app>", "a @/y/@"},
        {"a<app/>b", "ab"},
    });
    EXPECT_EQ(tei_inline_text("<app><lem>y</lem>", ""), "error: unterminated <app>");
}

TEST(TeiInlines, ReferencesAndLinks) {
    expect_inlines({
        {"<ref target=\"#s2\">see</ref>", "see@>(s2)"},
        {"<ptr target=\"#s2\"/>", "@>(s2)"},
        {"<ref target=\"#a b)\">x</ref>", "x@>(a%20b%29)"},
        {"<ref target=\"page2.html\">site</ref>", "site (@><page2.html><@)"},
        {"<ref target=\"page2.html\"/> <ref target=\"page2.html\"></ref>", "@><page2.html><@ @><page2.html><@"},
        {"<ref>site</ref> <ref target=\"\">x</ref>", "site x"},
        // A reference followed by the note it points at leaves the callout to
        // the note.
        {"<ref target=\"#fn3\">3</ref> <note xml:id=\"fn3\">body</note> after", "@^(n1) after\n\n@^\nbody\n^@(n1)"},
        {"<ref target=\"#fn3\">3</ref><note xml:id=\"other\">body</note>",
         "3@>(fn3)@^(n1)\n\n@^\nbody\n^@(n1)"},
        {"<ref target=\"#fn3\"/><note xml:id=\"fn3\">body</note>", "@>(fn3)@^(n1)\n\n@^\nbody\n^@(n1)"},
    });
}

TEST(TeiInlines, NotesAreNumberedAndEmptyOnesLeaveNoTrace) {
    expect_inlines({
        {"x<note>a</note>y<note> </note>z<note><p/></note>w<note>b</note>",
         "x@^(n1)yzw@^(n2)\n\n@^\na\n^@(n1)\n\n@^\nb\n^@(n2)"},
        {"x<note/>y", "xy"},
        {"x<note><p>a</p>\n  <p>b</p></note>", "x@^(n1)\n\n@^\na\n\nb\n^@(n1)"},
        {"x<note>a<note>b</note></note>", "x@^(n1)\n\n@^\n@^\nb\n^@(n2)\n\na@^(n2)\n^@(n1)"},
    });
    EXPECT_EQ(tei_inline_text("<note>a", ""), "error: unterminated <note>");
}

TEST(TeiInlines, InlineLists) {
    expect_inlines({
        {"x<list><item>a</item><item>b</item></list>", "x a; b"},
        {"<list>\n <head>H</head> <item>a</item><lb/><item/><label>L</label></list>", "H; a; L"},
        {"<list/>x", "x"},
        {"<list><item>a</item>stray</list>", "error: unsupported Text(\"stray\") in an inline list"},
        {"<list><hi>a</hi></list>", "error: unsupported Open { name: \"hi\", attrs: [], self_closing: false } in an inline list"},
    });
    EXPECT_EQ(tei_inline_text("<list><item>a</item>", ""), "error: unterminated <list>");
}

TEST(TeiInlines, ChoiceKeepsTheNonEmptyPreferredReading) {
    expect_inlines({
        {"<choice><sic>teh</sic><corr>the</corr></choice>", "the"},
        {"<choice><abbr>Dr</abbr><expan></expan></choice>", "Dr"},
        {"<choice><orig>olde</orig> <reg>old</reg></choice>", "old"},
        {"<choice><abbr>Dr</abbr><expan/></choice>", "Dr"},
        {"a<choice/>b", "ab"},
        // The readings' notes go, callouts with them, and their numbers are
        // given back.
        {"<choice><corr>a<note>n</note></corr></choice><note>m</note>", "a@^(n1)\n\n@^\nm\n^@(n1)"},
        {"<choice>x</choice>", "error: unsupported Text(\"x\") in <choice>"},
    });
    EXPECT_EQ(tei_inline_text("<choice><corr>a</corr>", ""), "error: unterminated <choice>");
}

TEST(TeiInlines, VerseQuotations) {
    expect_inlines({
        {"<quote><l>Arma virumque</l>\n <l>cano</l></quote>", "@\"\"Arma virumque / cano\"\"@"},
        {"<quote type=\"verse\">a <l>b</l> c &amp;  d</quote>", "@\"\"a / b c & d\"\"@"},
        {"<quote><lg><l>a</l><note>n</note><l>b</l></lg></quote><note>m</note>",
         "@\"\"a / b\"\"@@^(n1)\n\n@^\nm\n^@(n1)"},
        {"<quote><l>a</l><gap/><pb/><l>b</l></quote>", "@\"\"a\u2026 / b\"\"@"},
        {"<quote><sp><speaker>A</speaker><l>a</l></sp><l><hi>b</hi></l></quote>", "@\"\"A / a / @/b/@\"\"@"},
        {"<quote><l>a</l><quote><l>b</l></quote><q>c</q></quote>", "@\"\"a / @\"\"b\"\"@@\"\"c\"\"@\"\"@"},
        {"<quote><l>a</l><bibl>B</bibl></quote>", "@\"\"a B \"\"@"},
        {"<quote><l>a</l><milestone n=\"2\" unit=\"line\"/></quote>", "@\"\"a@(\"line:2\")\"\"@"},
        {"<quote><l>a</l><q/><speaker/></quote>", "@\"\"a\"\"@"},
        {"<quote type=\"verse\"/>x", "x"},
        {"<quote><l>a</l><lb/></quote>",
         "error: unsupported Open { name: \"lb\", attrs: [], self_closing: true } in a verse quote"},
        {"<quote><l>a</l></hi></quote>", "error: unsupported Close(\"hi\") in a verse quote"},
    });
    EXPECT_EQ(tei_inline_text("<quote><l>a</l>", ""), "error: unterminated verse <quote>");
}

TEST(TeiInlines, UnsupportedTokensNameTheTextNearThem) {
    expect_inlines({
        {"Some words<graphic/>",
         "error: unsupported Open { name: \"graphic\", attrs: [], self_closing: true } inline (near: \"...Some words\")"},
        {"<graphic>", "error: unsupported Open { name: \"graphic\", attrs: [], self_closing: false } inline (near: \"...\")"},
        {"  x &amp; y <hi>a</hi>\n <cb/>",
         "error: unsupported Open { name: \"cb\", attrs: [], self_closing: true } inline (near: \"...a\")"},
        {"x</hi>", "error: unsupported Close(\"hi\") inline (near: \"...x\")"},
        {"x</quote></persName>y", "xy"},
    });
    EXPECT_EQ(tei_inline_text("<hi>x", ""), "error: unterminated <hi>");
    EXPECT_EQ(tei_inline_text("x", ""), "error: unterminated <p>");
    const std::string long_text(70, 'a');
    EXPECT_EQ(tei_inline_text(long_text + "b<cb/>"),
              "error: unsupported Open { name: \"cb\", attrs: [], self_closing: true } inline (near: \"..." +
                  std::string(59, 'a') + "b\")");
}

TEST(TeiInlines, ErrorsComeWithTheImportersPrefix) {
    TeiContext context("<hi>x");
    const Result<TeiInlines> run = import_tei_inlines(context, 1, "hi");
    ASSERT_FALSE(run);
    EXPECT_EQ(failure_text(run.error()), "missing or unreadable resource: tei import: unterminated <hi>");
    EXPECT_EQ(failure_text(tei_unterminated_error("x")), "missing or unreadable resource: tei import: unterminated <x>");
}

TEST(TeiInlines, DeepNestingFailsQuickly) {
    std::string xml;
    for (int i = 0; i < 100000; ++i) xml += "<hi>";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(tei_inline_text(xml), "error: nesting deeper than 256 levels");
    EXPECT_LT(std::chrono::steady_clock::now() - start, time_bound);
    std::string fine;
    for (int i = 0; i < 200; ++i) fine += "<hi>";
    fine += "x";
    for (int i = 0; i < 200; ++i) fine += "</hi>";
    EXPECT_EQ(tei_inline_text(fine).substr(0, 5), "@/@/@");
}

TEST(TeiInlines, WhiteSpaceEnd) {
    EXPECT_FALSE(ends_with_whitespace(""));
    EXPECT_FALSE(ends_with_whitespace("a"));
    EXPECT_TRUE(ends_with_whitespace("a "));
    EXPECT_TRUE(ends_with_whitespace("a\u00A0"));
}

// The written milestone for an n value and attributes, or "none".
std::string milestone(std::string_view n, std::vector<XmlAttribute> attrs) {
    std::optional<Inline> made = import_tei_milestone(n, attrs);
    if (!made) return "none";
    return written_body({Block::Paragraph{{std::move(*made)}}});
}

TEST(TeiMilestones, SchemeValueAndGenoses) {
    struct MilestoneCase {
        const char* n;
        std::vector<XmlAttribute> attrs;
        const char* written;
    };
    const std::vector<MilestoneCase> cases = {
        {"12", {{"unit", "page"}}, "@(\"page:12\")"},
        {"12", {{"unit", "page"}, {"ed", "Bekker"}}, "@(\"bekker:12\").page"},
        {"12", {{"unit", "page"}, {"ed", "A"}}, "@(\"page:12\")"},
        {"12", {{"unit", "page"}, {"ed", "A"}, {"ed", "Bekker"}}, "@(\"page:12\")"},
        {"12", {{"resp", "#ed1"}, {"ed", "Bekker"}}, "@(\"ed1:12\")"},
        {"3.5", {{"unit", "Sub_Section"}}, "@(\"sub-section:3.5\")"},
        {" 1 a ", {}, "@(\"milestone:1-a\")"},
        {"--1.--2..", {}, "@(\"milestone:1-2\")"},
        {"(a)", {}, "@(\"milestone:a\")"},
        {"7", {{"unit", "card"}}, "@(\"perseus:card:7\").card"},
        {"7", {{"unit", "card"}, {"ed", "perseus"}}, "@(\"perseus:7\").card"},
        {"\u00e9\u2167\u00a73", {}, "@(\"milestone:\u00e9\u2167-3\")"},
        {"a..b", {}, "none"},
        {"", {}, "none"},
        {"--", {{"unit", "card"}}, "none"},
        // Attributes that cannot be a scheme or genos count as absent.
        {"4", {{"resp", ""}, {"unit", "page"}}, "@(\"page:4\")"},
        {"4", {{"resp", "Ed 1"}, {"ed", "two words"}}, "@(\"milestone:4\")"},
        {"4", {{"ed", "ab"}, {"unit", "2nd"}}, "@(\"ab:4\")"},
        {"4", {{"unit", "x y"}}, "@(\"milestone:4\")"},
    };
    for (const MilestoneCase& c : cases) EXPECT_EQ(milestone(c.n, c.attrs), c.written) << c.n;
}

TEST(TeiMilestones, Slugify) {
    std::string out = "x";
    slugify("a b\u00a7:_.-\u0663", out);
    EXPECT_EQ(out, "xa-b-:_.-\u0663");
}

}  // namespace
}  // namespace ilvex::testing
