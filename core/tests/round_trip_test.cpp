// The round-trip properties over a corpus of documents, over documents
// generated from the grammar with fixed seeds, and over imported Markdown:
// brachy and plero of a document parse back to its tree and are fixed
// points, and an import writes a document that brachy gives back unchanged,
// the same text whether written whole or block by block as it streams.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "dendron_fixture.hpp"
#include "document_generator.hpp"
#include "endo/light_markup/markdown_importer.hpp"
#include "dialektos/std_library.hpp"
#include "repeated_text.hpp"
#include "round_trip.hpp"
#include "local_dialektoi.hpp"

namespace ilvex {
namespace {

using namespace ilvex::testing;

void expect_round_trip(std::string_view text, bool must_parse = true) {
    const RoundTrip outcome = check_document(text, local_dialektoi().path());
    if (must_parse) {
        const auto parsed = parse_text(text, local_dialektoi().path());
        ASSERT_TRUE(parsed) << error_message(parsed.error()) << "\n" << text;
    }
    EXPECT_TRUE(outcome.failure.empty()) << outcome.failure;
}

// Every block and inline kind, in the standard dialektoi and the local ones.
TEST(RoundTrip, Corpus) {
    const char* const corpus[] = {
        // koine: sections with taxis and lemma, lists, inline formatting.
        "@@@!koine@0.3\n\n@= The Title=@\n\n@#(1) Intro @*bold*@\nText @/it/@.em and @*/both/*@|ab.\n\n"
        "@-\nitem @(here) one\n-@\n\n@.-(2)\nsecond\n-.@\n#@(s1).note\n",
        // Trigraph blocks of every kind.
        "@@@!koine\n\n@@@.\ninside\n.@@@.g\n\n@@@\"\n  raw @*x*@\n\n\"@@@(c)\n\n@@@@(img/a.png)\n@@@(part.ild)\n"
        "@@@+(code.txt)\n@@@(:ax:)\n@@@+(:ax:)\n\n@@@:\naxioma @*kept*@\n:@@@(ax)\n\n@@@= Song\na\n  b\n\nc\n=@@@(o) Refrain\n"
        "\n@@@/ one line /@@@\n\n@@@/\nmany\nlines\n/@@@\n\n@@/ only a comment\n",
        // Inline forms: milestone, enlexis, diaphane, endo-axioma, references, escapes.
        "@@@!koine\n\na @(\"page:12\").x b @@\"lit \\@ \"@@(e) @@.d.@@(o).g @@:ax:@@(ax) @@(:r:) @@+(:r:) \\@ \\| a|b\n"
        "line two @@/ comment\n   three @@@/ gone /@@@ end\n",
        // litogramma: prose, verse with strophes, drama.
        "@@@!litogramma\n\n@~ Poem\nfirst line\n  indented\n\nsecond strophe\n~@ 1900\n\n@#(3) Chapter\nText.\n#@\n",
        // il-markdown, il-usfm, bibliogramma.
        "@@@!il-markdown\n\n@#Heading#@\n\n@>\nquoted @^(n1)\n>@\n\n@.(7)\nitem\n.@\n\n@^\nnote\n^@(n1)\n",
        "@@@!il-usfm\n\ntext @(\"v:1\") more\n",
        // Englossis into another dialektos, both sigils.
        "@@@!koine\n\n@@@!(il-poesia)\n@~\nverse\n~@\n!@@@.g\n",
        "\\\\\\!koine\n\n\\#(1) Title \\*b*\\\ntext @\\ and @| \\\\\"lit\"\\\\\n#\\\n\n\\\\\\.\nx\n.\\\\\\\n",
        // Local sims: collisions, glossa names, required parts, plerographic spelling.
        "@@@!mini\n\n@#(2) T\n@*@@@//@@@/x*@ @**b**@ @*/c/*@ @:(p):@ @{paren} x {paren}@ @>(a) @>>(b) @{paren}y{paren}@\n#@.g H\n\n"
        "@& Entry\nbody\n&@ Hypo\n\n@§(4)\nch\n§@\n\n@~~(1) Song\nv1\n\nv2\n~~@ end\n\n@{abschnitt} L\n@{stark}s{stark}@\n{abschnitt}@\n"
        "\n@{τμήμα}\nx\n{τμήμα}@\n\n@|\naside @^(n1)\n|@\n",
        "@@@!shelf\n\n@# from mini\n@*x*@ and koine @/it/@\n#@\n",
        "#!/usr/bin/env ilvex\n@@@!mini\r\n\r\n@:\r\nspoken\r\n:@\r\n",
        // An enlexis over several lines of a paragraph.
        "@@@!koine\n\na @@\"b\n   c\n@@d\n@(e\"@@ f\n",
        // Enlexis texts that the "@" spelling cannot hold as they are: the
        // enlexis closer, a line that would open a section.
        "\\\\\\!koine\n\nx \\\\\"a\"@@b\"\\\\ y\n",
        "\\\\\\!koine\n\nx \\\\\"a\n@# b\"\\\\ y\n",
        // An enlexis line that begins like the section's closer in one
        // spelling and not in the other.
        "\\\\\\!koine\n\n\\#(1lA\n \\\\\"\n.\n#\n@##9t\"\"\\\\\n#\\",
        // An enlexis line that begins with the section's plerographic
        // closer: plero cuts the enlexis there, brachy keeps it whole.
        "@@@!koine\n\n@# e\nx @@\"\n{section}@ y\"@@ z @@\"a\n{section}@ b\"@@\n#@\n",
    };
    for (const char* text : corpus) {
        SCOPED_TRACE(text);
        expect_round_trip(text);
    }
}

// Paragraphs that brachy writes from the parse's flat list of items, or
// that it declines to, at the edges of what that list and its writer take:
// lines shorter than the closer of the body around them in front of
// markup, escaped sigils, line starts with white space or markup, symbol
// characters after a symbol, monosims, milestones and anchors, deixeis and
// closers opening a line, bars and backslashes, carriage returns.
TEST(RoundTrip, ParagraphsWrittenFlat) {
    const char* const documents[] = {
        "@@@!koine\n\n@#(1) T\n@## U\n@### V\nx\n###|@*y*@ z\n##|@/w/@\nab@(\"page:1\")\n###@\n##@\n#@\n",
        "@@@!koine\n\n@-\na\n-|@*b*@ c\n  -\\@ d\n-@\n",
        "@@@!koine\n\nMail\\@example.org and @*x\\@*@ then a\\@@/y/@ b\n\\@ starts a line\n",
        "@@@!koine\n\n@*/x/*@ @*@/y/@*@ @/*z*/@ @*|@/v/@*@\n",
        "@@@!koine\n\n@#(1) S\nsee @>(sec1) and @(\"page:3\").k then @(a1)x @(\"p:2\").g\n#@(sec1)\n",
        "@@@!koine\n\ntext\n|@^(fn1) more @^(fn1).k and\n@*b*@ c\n\n@^\nnote\n^@(fn1)\n",
        "@@@!koine\n\n@*a\n*@ b @/c\n  /@.g d\n",
        "@@@!koine\n\na @@/ comment\n   b @@@/ gone /@@@ c\n\xC2\xA0 d\n\t e\n",
        "@@@!koine\n\na|b @*c|*@ d\\e f @@\"\\\"@@@*g*@ h\r\ni\n",
        "@@@!koine\n\n@::;\n@:: term\n@;\ndefined @,x,@.term\n  over lines\n;@\n::@\n;::@\n",
        "@@@!koine\n\n@\"\nquoted\n  words @*b*@\n\"@ Someone\n",
        // Sims named by plero, kept in an axioma body, named through another
        // dialektos in an Englossis body.
        "@@@!koine\n\n@# S\nsee @>(a1) and @*b*@ then @^(fn1)\n#@\n\n@@@:\nkept @*b*@ and @>(a1)\n:@@@(ax)\n\n"
        "@@@!(il-markdown)\n\nquoted @^(n1) x\n\n@^\nnote\n^@(n1)\n!@@@\n\n@^\nf @/i/@\n^@(fn1)\n",
    };
    for (const char* text : documents) {
        SCOPED_TRACE(text);
        expect_round_trip(text);
    }
}

// Paragraphs long enough that brachy and plero write them in parts as the
// parse goes: the parts must join into the same text as the whole tree's.
// Each is tried with a few items in front, so that the cuts fall on every
// item of the repeated piece.
TEST(RoundTrip, LongParagraphs) {
    struct Case {
        const char* head;
        const char* item;  // one item, in the document's sigil
        const char* piece;
        const char* tail;
    };
    const Case cases[] = {
        // Lines that begin with text and with markup.
        {"@@@!koine\n\n", "@*p*@ ", "a @*b*@ c\n@/d/@ e\n", ""},
        // Text after a suffix, or that would read as one.
        {"@@@!koine\n\n", "@*p*@ ", "@*b*@.g|ab @/c/@|(d) @*e*@|.f x\n", ""},
        // Escapes, "|" between text and markup, backslashes before markup.
        {"@@@!koine\n\n", "@*p*@ ", "x\\@ \\| a|@*b*@ @@\"c\\\\\"@@@/d/@ e\\\\ @*f*@\n", ""},
        // Enlexeis over lines, one ending in a line feed.
        {"@@@!koine\n\n", "@*p*@ ", "a @@\"b\n   c\n d\"@@ e @@\"f\n\"@@\n", ""},
        // Enlexeis that the "@" spelling writes in pieces: one holding the
        // enlexis closer, one with a line that would open a section.
        {"\\\\\\!koine\n\n", "\\*p*\\ ", "x \\\\\"a\"@@b\"\\\\ y \\*z*\\ \\\\\"c\n@# d\"\\\\ e\n", ""},
        // Carriage returns.
        {"@@@!koine\r\n\r\n", "@*p*@ ", "a @*b*@ c\r\n", ""},
        // One long line: the first line all along.
        {"@@@!koine\n\n", "@*p*@ ", "a @*b*@ @/c/@.g ", "\n"},
        // A deixis at line starts.
        {"@@@!il-markdown\n\n", "@^(p) ", "@^(n1) a\n", "\n@^\nnote\n^@(n1)\n"},
        // In a body whose closer lines may not begin with, named by plero
        // in each glossa.
        {"@@@!mini\n\n@#(2) T\n", "@*p*@ ",
         "@*@@@//@@@/x*@ @**b**@ @*/c/*@ @:(p):@ @{paren} x {paren}@ @>(a) @>>(b) @{paren}y{paren}@\n", "#@\n"},
    };
    for (const Case& c : cases) {
        for (std::size_t before = 0; before < 3; ++before) {
            const std::string text = std::string(c.head) + repeated(c.item, before) + repeated(c.piece, 300) + c.tail;
            SCOPED_TRACE(c.piece);
            SCOPED_TRACE(before);
            expect_round_trip(text);
        }
    }
}

// An error after the parts already written is the error of the whole parse.
TEST(RoundTrip, LongParagraphErrors) {
    const std::string long_paragraph = "@@@!koine\n\n" + repeated("a @*b*@ c\n", 400);
    for (const char* end : {"@*open\n", "@@@@@ x\n", "@&\n"}) {
        const std::string text = long_paragraph + end;
        SCOPED_TRACE(end);
        const auto parsed = parse_text(text, local_dialektoi().path());
        ASSERT_FALSE(parsed);
        const auto brachy = write_brachy(text, local_dialektoi().path());
        const auto plero = write_plero(text, local_dialektoi().path(), std::nullopt);
        ASSERT_FALSE(brachy);
        ASSERT_FALSE(plero);
        EXPECT_EQ(error_message(brachy.error()), error_message(parsed.error()));
        EXPECT_EQ(error_message(plero.error()), error_message(parsed.error()));
    }
}

// Documents generated from each dialektos's own sims, in both sigils.
TEST(RoundTrip, GeneratedDocuments) {
    const std::string dir = local_dialektoi().dir();
    std::vector<std::string> ids = {"mini", "shelf"};
    for (const std::string& id : std_dialektos_ids()) ids.push_back(id);
    std::map<std::string, Dialektos> resolved;
    for (const std::string& id : ids) {
        auto d = resolve_from_dir(dir, id);
        ASSERT_TRUE(d) << id << ": " << error_message(d.error());
        resolved.emplace(id, std::move(*d));
    }
    DocumentGenerator generator(
        7, {{"mini", &resolved.at("mini")}, {"koine", &resolved.at("koine")}, {"il-poesia", &resolved.at("il-poesia")}});
    int documents = 0;
    int parsed = 0;
    for (int round = 0; round < 700; ++round) {
        for (const std::string& id : ids) {
            if (round >= 60 && id != "mini" && id != "koine" && id != "litogramma") continue;
            const std::string text = generator.document(resolved.at(id), round % 4 == 3);
            const RoundTrip outcome = check_document(text, local_dialektoi().path());
            ++documents;
            parsed += outcome.applies;
            ASSERT_TRUE(outcome.failure.empty()) << outcome.failure << "round " << round << ", " << id;
        }
    }
    // The generator would test little if most of its texts were refused.
    EXPECT_GT(parsed * 2, documents) << parsed << " of " << documents << " parsed";
}

// The canonical serialization of every dialektos reads back to itself.
TEST(RoundTrip, Serialization) {
    std::vector<std::string> ids = {"mini", "shelf"};
    for (const std::string& id : std_dialektos_ids()) ids.push_back(id);
    for (const std::string& id : ids) {
        const auto d = resolve_from_dir(local_dialektoi().dir(), id);
        ASSERT_TRUE(d) << id << ": " << error_message(d.error());
        EXPECT_EQ(check_serialization(*d), "") << id;
    }
}

// Trees that hold what their written forms cannot hold as they are, as
// importers build them: the writer puts them down so that they read back.
TEST(RoundTrip, TreesOfImporters) {
    using testing::text;
    const Block cases[] = {
        paragraph({Inline::Enlexis{"x\"@@y", onym("e")}, text(" b")}),
        paragraph({text("a "), Inline::Enlexis{"x\n  y\n\nz", {}}, text(" b")}),
        para("#", {Inline::Enlexis{"x\ny", {}}, text("a\nb")}, {}),
        verse("~", {{{text("a\nb")}}}),
        paragraph({text("a\r\nb\r")}),
        paragraph({text("a "), Inline::Enlexis{"x\r\ny\r\n\r\nz\r", {}}, text(" b")}),
        Block::MonadEnlexis{"a\n  \"@@@ b\nc\r\nd\r", genos("g")},
        Block::MonadEnlexis{"\r", {}},
        Block::Enmedia{"a b)"},
        Block::Anaphor{"a\tb"},
        paragraph({monosim("=#=", "a)b c")}),
    };
    for (const Block& block : cases) {
        const std::string failure = check_import(Document{"litogramma", std::nullopt, {block}}, local_dialektoi().path());
        EXPECT_TRUE(failure.empty()) << failure << dump(Document{"litogramma", std::nullopt, {block}});
    }
}

// Markdown built from its own markers and from the characters that the
// written text escapes or separates, then hand-written Markdown mutated.
TEST(RoundTrip, ImportedMarkdown) {
    const std::string path = local_dialektoi().path();
    const std::vector<std::string> alphabet = {
        "#", "# ", "## ", ">", "> ", "- ", "1. ", "[^", "]: ", "[", "]", "(", ")", "![](", "*", "**", "`", "```",
        "<", ">", "a:b", "\\", " ", "  ", "    ", "\n", "\n\n", "\r", "\"@@", "\"@@@", "@", "|", "x", "Py", "\u00A0",
        "\t", "^", "e\xCC\x81", "{", "}", "/", "~", ".", "-", "=", "a b", "http://x.y"};
    std::mt19937 random(11);
    const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    for (int round = 0; round < 1500; ++round) {
        std::string markdown;
        for (std::size_t n = 1 + pick(40); n > 0; --n) markdown += alphabet[pick(alphabet.size())];
        {
            const std::string failure = check_streamed_import(import_markdown, markdown, path);
            ASSERT_TRUE(failure.empty()) << failure << quoted("markdown", markdown);
        }
    }
    const std::vector<std::string> seeds = {
        "# Title\n\nSome *em* and **strong** text with `code` and a [link](http://a.b).\n",
        "> quote line\n> > nested\n\n- item\n  continued\n\n  second para\n- next\n",
        "1. one\n2. two\n   indented\n\n[^n1]: The note.\n    more\n\nSee[^n1] and <http://x.y>.\n",
        "```python\ncode \"@@@\n  \"@@ x\n```\n\n![](img/a b.png)\n\ntext \\* not em \\` @ | \\\n",
        "## H *a\n* b**\n\n[a](  ) [](u) [u](u) ![alt](x) [^bad label] [^]\n",
    };
    for (int round = 0; round < 1500; ++round) {
        std::string markdown = seeds[pick(seeds.size())];
        for (std::size_t n = 1 + pick(4); n > 0; --n) {
            const std::size_t at = pick(markdown.size() + 1);
            switch (pick(3)) {
                case 0: markdown.insert(at, alphabet[pick(alphabet.size())]); break;
                case 1: markdown.erase(at, pick(6)); break;
                default: markdown.insert(at, markdown.substr(pick(markdown.size()), pick(12)));
            }
        }
        {
            const std::string failure = check_streamed_import(import_markdown, markdown, path);
            ASSERT_TRUE(failure.empty()) << failure << quoted("markdown", markdown);
        }
    }
}

}  // namespace
}  // namespace ilvex
