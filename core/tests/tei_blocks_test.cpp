#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "endo/tei/tei_drama.hpp"
#include "repeated_text.hpp"
#include "tei_fixture.hpp"

namespace ilvex::testing {
namespace {

TEST(TeiBlocks, DivisionLevelsAndHeads) {
    expect_blocks({
        {"<div><head>One</head><p>x</p></div>", "@=== One\nx\n===@"},
        {"<div type=\"part\"><head>P</head><div type=\"chapter\"><head>C</head><p>x</p></div></div>",
         "@== P\n@=== C\nx\n===@\n==@"},
        {"<div type=\"book\"><head>B</head><div><head>S</head></div></div>", "@== B\n@=== S\n===@\n==@"},
        // Headless and empty-headed divisions leave their blocks in place.
        {"<div><p>a</p></div><div><head/><p>b</p></div><div><head> </head><p>c</p></div>", "a\n\nb\n\nc"},
        {"<div/><p>x</p>", "x"},
        // A head that does not head its division is an annotation.
        {"<div><head>H</head><p>a</p><head>mid</head></div>", "@=== H\na\n\n@,mid,@.head\n===@"},
        {"<head>alone</head>", "@,alone,@.head"},
        // The first head of an empty-headed division heads the one around it.
        {"<div><div><head></head><head>X</head><p>a</p></div></div>", "@=== X\na\n===@"},
        {"<div><opener><head>O</head></opener><p>a</p></div>", "@=== O\na\n===@"},
        // A head's notes stay with the division it heads.
        {"<div><head>H<note>n</note></head><p>a</p></div>", "@=== H@^(n1)\n@^\nn\n^@(n1)\n\na\n===@"},
    });
    std::string deep;
    for (int i = 0; i < 7; ++i) deep += "<div><head>h" + std::to_string(i + 1) + "</head>";
    deep += repeated("</div>", 7);
    EXPECT_EQ(tei_block_text(deep),
              "@=== h1\n@# h2\n@## h3\n@### h4\n@#### h5\n@#### h6\n@#### h7\n####@\n####@\n####@\n###@\n##@\n#@\n===@");
}

TEST(TeiBlocks, ParagraphsSaidsAndBareText) {
    expect_blocks({
        {"<p>a</p> , <p>b</p>", "a\n\nb"},
        {"<p>a</p>--<p>b</p>", "a\n\nb"},
        {"<p/><p>x</p>", "x"},
        {"<p> <said who=\"#Anna\">hi</said> </p>", "@: Anna\nhi\n:@"},
        {"<p><said>hi</said></p><p>x</p>", "@@@.\nhi\n.@@@\n\nx"},
        {"<p><said who=\"a\"/></p><p>x</p>", "@: a\n:@\n\nx"},
        {"<p>x<said>y</said></p>", "x@\"\"y\"\"@.said"},
        {"<p><said>y</said> z</p>", "@\"\"y\"\"@.said z"},
        {"<p><said><said>a</said></said>b</p>", "@\"\"@\"\"a\"\"@.said\"\"@.said|b"},
        {"<salute>Dear</salute><signed/><ab>text</ab>", "Dear\n\ntext"},
        {"abcd", "error: bare text at block level: `abcd`"},
        {"<p>a</p>\u2014<p>b</p>", "error: bare text at block level: `\u2014`"},
        {"x", "error: bare text at block level: `x`"},
        {"</div>", "error: unsupported Close(\"div\") at block level"},
        {"<p>a</p></p>", "a"},
        {"<graphic/>", "error: unsupported Open { name: \"graphic\", attrs: [], self_closing: true } at block level"},
    });
    EXPECT_EQ(tei_block_text("<p>a</p>", ""), "error: unterminated <body>");
}

TEST(TeiBlocks, VerseLinesAndAb) {
    expect_blocks({
        {"<l>a</l>\n<l> b </l> <l/><l>c</l><p>d</p>", "@~\na\nb\nc\n~@\n\nd"},
        {"<l>a<note>n</note></l><l>b</l>", "@~\na@^(n1)\nb\n~@\n\n@^\nn\n^@(n1)"},
        {"<ab type=\"Prose\"><l>a</l></ab><ab>text</ab>", "@~\na\n~@.prose\n\ntext"},
        {"<ab type=\"2nd\">\n<lg><l>a</l></lg><lg><l>b</l></lg></ab>", "@~\na\n\nb\n~@"},
        {"<ab><lg><note>n</note><l>a</l></lg><lg><l>b</l></lg><note>m</note></ab>",
         "@~\n@^(n1)\na\n\nb@^(n2)\n~@\n\n@^\nn\n^@(n1)\n\n@^\nm\n^@(n2)"},
        {"<ab><l>a</l><pb/></ab>",
         "error: unsupported Open { name: \"pb\", attrs: [], self_closing: true } in an <ab> verse"},
        {"<ab><l>a</l><milestone n=\"1\"/></ab>",
         "error: unsupported Open { name: \"milestone\", attrs: [(\"n\", \"1\")], self_closing: true } in an <ab> verse"},
        {"<lg><head>H</head><l>a</l><lg><head>x<note>lost</note></head><l>b</l></lg><lg><l>c</l></lg><l>d</l></lg>",
         "@~ H\na\n\nb\n\nc\n\nd\n~@"},
        {"<lg><l>a</l><pb/></lg>", "error: unsupported Open { name: \"pb\", attrs: [], self_closing: true } in <lg>"},
        {"<lg/><p>x</p>", "x"},
    });
    EXPECT_EQ(tei_block_text("<ab><l>a</l>", ""), "error: unterminated <ab>");
    EXPECT_EQ(tei_block_text("<lg><l>a</l>", ""), "error: unterminated <lg>");
}

// An empty verse line reads back as an empty line of the same strophe.
TEST(TeiBlocks, EmptyVerseLineReadsBackAsALine) {
    const std::string written = tei_block_text("<l></l><l>a</l>");
    EXPECT_EQ(written, "@~\n@@/\na\n~@");
    const Result<ParsedDocument> parsed = parse_text("@@@!litogramma\n\n" + written + "\n", "doc.ild");
    ASSERT_TRUE(parsed) << failure_text(parsed.error());
    const auto& verse = std::get<Block::Stichoi>(parsed->document.blocks.at(0).node);
    ASSERT_EQ(verse.strophes.size(), 1u);
    EXPECT_EQ(verse.strophes[0].size(), 2u);
}

TEST(TeiBlocks, QuotationsAndCitations) {
    expect_blocks({
        {"<quote><p>a</p><p>b</p></quote><q>inline <hi>x</hi></q>", "@\"\na\n\nb\n\"@\n\n@\"\ninline @/x/@\n\"@"},
        {"<quote> <milestone n=\"1\"/> <l>a</l></quote>", "@\"\n@(\"milestone:1\")\n\n@~\na\n~@\n\"@"},
        {"<cit>\n<quote>q</quote> <bibl>Src<note>lost</note></bibl></cit>", "@\"\nq\n\"@ Src"},
        {"<cit><q>a</q><bibl>one</bibl><bibl>two</bibl><bibl/></cit>", "@\"\na\n\"@ two"},
        {"<cit>text</cit>", "error: unsupported Text(\"text\") in <cit>"},
        {"<cit><p>a</p></cit>", "error: unsupported Open { name: \"p\", attrs: [], self_closing: false } in <cit>"},
    });
    EXPECT_EQ(tei_block_text("<cit><quote>q</quote>", ""), "error: unterminated <cit>");
}

TEST(TeiBlocks, Lists) {
    expect_blocks({
        {"<list type=\"ordered\"><item>a</item> <item>b</item><item/></list>",
         "@..\n@.-(1)\na\n-.@\n\n@.-(2)\nb\n-.@\n\n@.-(3)\n-.@\n..@"},
        {"<list><head>H<note>lost</note></head><item>c<note>n</note></item></list>",
         "@--\n@#_H_#@\n\n@-\nc@^(n1)\n-@\n\n@^\nn\n^@(n1)\n--@"},
        {"<list>x</list>", "error: unsupported Text(\"x\") in <list>"},
        {"<list><label>x</label></list>",
         "error: unsupported Open { name: \"label\", attrs: [], self_closing: false } in <list>"},
        {"<list/>", ""},
    });
    EXPECT_EQ(tei_block_text("<list><item>a</item>", ""), "error: unterminated <list>");
}

TEST(TeiBlocks, FiguresTablesAndCastLists) {
    expect_blocks({
        {"<figure xml:id=\"f1\"><head>Cap</head><graphic url=\"a b.png\"/><graphic url=\"c.png\"></graphic>"
         "<graphic/><figDesc>d</figDesc></figure>",
         "@< Cap\n@@@@(a%20b.png)\n@@@@(c.png)\n<@(f1)"},
        {"<figure xml:id=\"bad id\"/>", ""},
        {"<figure xml:id=\"bad id\"></figure>", "error: invalid identifier `bad id`"},
        {"<figure>x</figure>", "error: unsupported Text(\"x\") in <figure>"},
        {"<table><head>T</head><row><cell>a</cell><cell><hi>b</hi> c<note>lost</note></cell></row><row/>"
         "<row></row><row><cell/></row></table>",
         "@+ T\n| a | b c |\n|  |\n|  |\n|  |\n+@"},
        {"<table><row>x</row></table>", "error: unsupported Text(\"x\") in <row>"},
        {"<table><cell/></table>",
         "error: unsupported Open { name: \"cell\", attrs: [], self_closing: true } in <table>"},
        {"<castList><head>Persons</head>\n<castItem>Hamlet</castItem></castList>", "@#_Persons_#@\n\n@:!Hamlet!:@"},
        {"<castList><castGroup/></castList>",
         "error: unsupported Open { name: \"castGroup\", attrs: [], self_closing: true } in <castList>"},
    });
    EXPECT_EQ(tei_block_text("<table><row><cell>a</cell>", ""), "error: unterminated <table>");
    EXPECT_EQ(tei_block_text("<figure>", ""), "error: unterminated <figure>");
    EXPECT_EQ(tei_block_text("<castList>", ""), "error: unterminated <castList>");
}

TEST(TeiBlocks, SmallBlocksAndPassedElements) {
    expect_blocks({
        {"<note>n</note><note/>", "@^!\nn\n!^@"},
        {"<label>L</label><speaker>S</speaker><stage>exit</stage>", "@,L,@.label\n\n@,S,@.speaker\n\n@:[\nexit\n]:@"},
        {"<trailer>T</trailer><dateline>D</dateline>", "@-/T/-@\n\n@-/D/-@"},
        {"<opener><salute>Dear</salute></opener><closer><signed>Me</signed></closer>", "Dear\n\nMe"},
        {"<milestone n=\"3\" unit=\"section\"/><milestone n=\"a..b\"/><pb/><gap></gap><lb/><anchor/>", "@(\"section:3\")"},
        {"<app><rdg>x</rdg></app><listPerson><person/></listPerson><docAuthor>A</docAuthor><p>x</p>", "x"},
    });
}

TEST(TeiBlocks, ContentBlocksChooseBetweenBlocksAndText) {
    const auto content = [](std::string_view xml) {
        return tei_converted(std::string(xml) + "</quote>",
                             [](TeiContext& context) { return import_tei_content_blocks(context, 0, "quote"); });
    };
    EXPECT_EQ(content("<p>a</p>"), "a");
    EXPECT_EQ(content(" <milestone n=\"1\"/> <lg><l>a</l></lg>"), "@(\"milestone:1\")\n\n@~\na\n~@");
    EXPECT_EQ(content("a<note>n</note>"), "a@^(n1)\n\n@^\nn\n^@(n1)");
    EXPECT_EQ(content(""), "");
    EXPECT_EQ(lowercase_name_list("Prose"), std::vector<std::string>{"prose"});
    EXPECT_EQ(lowercase_name_list("two words"), std::vector<std::string>{});
}

TEST(TeiDrama, Speeches) {
    expect_blocks({
        {"<sp><speaker>Hamlet</speaker><l>a</l><l>b</l></sp>", "@:~ Hamlet\na\nb\n~:@"},
        {"<sp> <l>a</l></sp>", "@~\na\n~@"},
        {"<sp><speaker>Hamlet</speaker> <p>x</p></sp>", "@: Hamlet\nx\n:@"},
        {"<sp><p>x</p></sp>", "x"},
        {"<sp><speaker>H</speaker><l>a</l><p>b</p></sp>", "@: H\n@~\na\n~@\n\nb\n:@"},
        {"<sp><speaker>H</speaker><stage>s</stage><l>a</l></sp>", "@: H\n@:[\ns\n]:@\n\n@~\na\n~@\n:@"},
        {"<sp><speaker>H</speaker><lg><l>a</l></lg><lg><l>b</l></lg></sp>", "@:~ H\na\nb\n~:@"},
        {"<sp><speaker>H<note>s</note></speaker><l>a</l><stage>go<note>lost</note></stage><gap/><lb/>"
         "<l>b<note>x</note></l><note>n</note><milestone n=\"4\"/></sp>",
         "@:~ H@^(n1)\na\n@:(go):@\n[\u2026]\nb@^(n2)@^(n3)\n@(\"milestone:4\")\n~:@\n\n"
         "@^\ns\n^@(n1)\n\n@^\nx\n^@(n2)\n\n@^\nn\n^@(n3)"},
        {"<sp><speaker>H</speaker><l>a</l><hi>x</hi></sp>",
         "error: unsupported Open { name: \"hi\", attrs: [], self_closing: false } in a verse speech"},
        {"<sp><l>a</l>x</sp>", "error: unsupported Text(\"x\") in a verse speech"},
        {"<sp><speaker/><p>x</p></sp>", "x"},
        {"<div><sp><speaker>H</speaker><p>x</p><div><head>D</head></div></sp></div>",
         "@: H\nx\n\n@# D\n#@\n:@"},
    });
    EXPECT_EQ(tei_block_text("<sp> ", ""), "error: unterminated <sp>");
    EXPECT_EQ(tei_block_text("<sp><l>a</l>", ""), "error: unterminated <sp>");
}

TEST(TeiDrama, Saids) {
    expect_blocks({
        {"<said who=\"#Anna\">hi</said>", "@: Anna\nhi\n:@"},
        {"<said who=\"Anna\"><label> Anna.. </label> hi </said>", "@: Anna\nhi\n:@"},
        {"<said><label>.</label>hi</said>", "@@@.\nhi\n.@@@"},
        {"<said>hi<note>n</note></said>", "@@@.\nhi@^(n1)\n\n@^\nn\n^@(n1)\n.@@@"},
        {"<said who=\"#A\"> <milestone n=\"1\"/> <milestone n=\"2\"/> <label>B</label>hi</said>",
         "@: B\n@(\"milestone:1\")@(\"milestone:2\")hi\n:@"},
        {"<said who=\"##\"/>", "@@@.\n.@@@"},
    });
}

TEST(TeiDrama, SaidFillsAParagraphOnlyWhenNothingElseStandsInIt) {
    TeiContext context("<p><said>a</said> </p><p><said/></p><p><said>a</said>b</p><p><said>");
    EXPECT_TRUE(tei_said_in_p(context, 1));
    EXPECT_TRUE(tei_said_in_p(context, 7));
    EXPECT_FALSE(tei_said_in_p(context, 10));
    EXPECT_FALSE(tei_said_in_p(context, 16));
}

TEST(TeiDrama, Epigraphs) {
    expect_blocks({
        {"<epigraph><cit><quote>q</quote><bibl>B</bibl></cit></epigraph>", "@\"/\nq\n/\"@ B"},
        {"<epigraph>\n<p>a</p><pb/><lg><l>b</l></lg><q><p>c</p></q><gap></gap></epigraph>",
         "@\"/\na\n\n@~\nb\n~@\n\nc\n/\"@"},
        {"<epigraph><head>h</head></epigraph>",
         "error: unsupported Open { name: \"head\", attrs: [], self_closing: false } in <epigraph>"},
    });
    EXPECT_EQ(tei_block_text("<epigraph><p>a</p>", ""), "error: unterminated <epigraph>");
}

TEST(TeiNotes, BodiesOfParagraphsLineGroupsAndText) {
    expect_blocks({
        {"<note>\n  <p>a</p>\n  <p>b</p>\n</note>", "@^!\na\n\nb\n!^@"},
        {"<note><p>a</p><lg><l>v</l></lg> rest <hi>x</hi></note>", "@^!\na\n\n@~\nv\n~@\n\nrest @/x/@\n!^@"},
        {"<note> </note>", "@^!\n!^@"},
        {"<note><span>a</span><p/></note>", "@^!\na\n!^@"},
    });
    EXPECT_EQ(tei_block_text("<note><p>a</p>", ""), "error: unterminated <note>");
}

TEST(TeiBlocks, DeepNestingFailsQuickly) {
    for (const char* opener : {"<div>", "<q>", "<note>", "<sp>", "<quote><l>", "<list><item>", "<lg>"}) {
        const std::string xml = repeated(opener, 100000);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(tei_block_text(xml, ""), "error: nesting deeper than 256 levels") << opener;
        EXPECT_LT(std::chrono::steady_clock::now() - start, time_bound) << opener;
    }
}

TEST(TeiBlocks, LargeInputsStayLinear) {
    const std::string many = repeated("<p>a <hi>b</hi><ref target=\"#x\">r</ref> <said>s</said></p>\n", 10000) +
                             repeated("<sp><speaker>S</speaker><l>a</l></sp>", 10000);
    const auto start = std::chrono::steady_clock::now();
    const std::string body = many + "</body>";
    TeiContext context(body);
    const Result<TeiBlocks> blocks = import_tei_blocks(context, 0, "body", 0);
    ASSERT_TRUE(blocks);
    EXPECT_EQ(blocks->blocks.size(), 20000u);
    const std::string unclosed = repeated("<p><said>", 30000) + repeated("<ref target=\"#a\">", 30000);
    EXPECT_EQ(tei_block_text(unclosed, ""), "error: nesting deeper than 256 levels");
    EXPECT_LT(std::chrono::steady_clock::now() - start, time_bound);
}

}  // namespace
}  // namespace ilvex::testing
