#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/error.hpp"
#include "endo/tei/tei_context.hpp"
#include "endo/tei/tei_dictionary.hpp"
#include "endo/xml/xml_tokenizer.hpp"
#include "lexigramma_fixture.hpp"
#include "round_trip.hpp"

namespace ilvex {
namespace {

using testing::check_import;
using testing::lexigramma_directory;

// The blocks of the entries at the top level of `tei`, or the text of the
// first error.
struct Imported {
    std::vector<Block> blocks;
    std::string error;
};

Imported import_entries(std::string_view tei) {
    TeiContext context(tei);
    Imported out;
    for (std::size_t i = 0; context.tokens.has(i); ++i) {
        const auto* open = std::get_if<XmlOpen>(&context.tokens[i]);
        if (open == nullptr || open->name != "entry") continue;
        Result<TeiBlock> entry = import_tei_entry_at(context, i);
        if (!entry) return {{}, error_message(context.tokens.first_error(entry.error()))};
        out.blocks.push_back(std::move(entry->block));
        i = entry->next - 1;
    }
    if (context.tokens.error()) return {{}, error_message(*context.tokens.error())};
    return out;
}

// The entries of `tei` written as endo writes a dictionary, without the
// declaration line; every written entry must pass check under the fixture
// definition and be a fixed point of brachy.
std::string written(std::string_view tei) {
    Imported imported = import_entries(tei);
    if (!imported.error.empty()) return "error: " + imported.error;
    const Document document{"lexigramma", std::nullopt, std::move(imported.blocks)};
    const std::string failure = check_import(document, lexigramma_directory().path());
    EXPECT_EQ(failure, "") << tei;
    const std::string text = testing::write_imported(document).value();
    return text.substr(text.find('\n') + 1);
}

// Joins piece by piece: "literal" + string trips a false -Wrestrict of
// g++ 12 at -O3.
std::string cat(const auto&... parts) {
    std::string out;
    ((out += parts), ...);
    return out;
}

struct Case {
    std::string_view tei;
    std::string_view lexigramma;
};

void expect_cases(const std::vector<Case>& cases) {
    for (const Case& c : cases) EXPECT_EQ(written(c.tei), c.lexigramma) << c.tei;
}

// The headword is the first orth of a lemma form (a form without type);
// other orths, inflected orths, pronunciations, hyphenations, grammar and
// etymology are paragraphs of one sim each.
TEST(TeiDictionary, FormsGrammarAndEtymology) {
    expect_cases({
        {"<entry><form><orth>run</orth><orth>ran</orth></form><sense><def>to move fast</def></sense></entry>",
         "\n@! run\n@=~ran~=@\n\n@:(1)\nto move fast\n:@\n!@\n"},
        // A nested form takes its own type, else its parent's.
        {"<entry n='2'><form type='inflected'><orth>runs</orth><form type='lemma'><orth>run</orth></form>"
         "<form><orth>ran</orth></form></form></entry>",
         "\n@!(2) run\n@=*runs*=@\n\n@=*ran*=@\n!@\n"},
        {"<entry><form><pron notation='respell'>RUN</pron><pron notation='x'>r</pron><pron>r2</pron>"
         "<pron> </pron><hyph>r-un</hyph><syll>run</syll><syll></syll></form></entry>",
         "\n@!\n@=%RUN%=@.respell\n\n@=%r%=@.ipa\n\n@=%r2%=@.ipa\n\n@=% %=@.ipa\n\n@=-r-un-=@\n\n@=-run-=@\n!@\n"},
        {"<entry><form type=''><orth>x</orth></form><form><orth>a <hi>b</hi>\n c</orth></form></entry>",
         "\n@! a b c\n@=~x~=@\n!@\n"},
        {"<entry><gramGrp><pos>verb</pos> <gen>m</gen></gramGrp><gramGrp></gramGrp>"
         "<etym>From <mentioned>rinnan</mentioned>.</etym><etym> </etym></entry>",
         "\n@!\n@=&verb m&=@\n\n@=<From @~rinnan~@.>=@\n!@\n"},
        // Usage, cross-references and notes of the entry itself.
        {"<entry><usg type='time'>old</usg><note>see <hi>also</hi></note><xr><ref>y</ref></xr></entry>",
         "\n@!\n@[old]@.time\n\nsee also\n\n@>(y)\n!@\n"},
    });
}

// Senses are numbered among their siblings; the running text between nested
// senses becomes paragraphs, its pieces a space apart.
TEST(TeiDictionary, Senses) {
    expect_cases({
        {"<entry><sense><def>large</def><usg type='geo'>US</usg></sense><sense>a<sense>b</sense>c<sense/></sense></entry>",
         "\n@!\n@:(1)\nlarge @[US]@.geo\n:@\n\n@:(2)\na\n\n@:(1)\nb\n:@\n\nc\n\n@:(2)\n:@\n:@\n!@\n"},
        {"<entry><sense><def>one</def><def>two</def> <def/>three</sense></entry>",
         "\n@!\n@:(1)\none two  three\n:@\n!@\n"},
        // Grammatical words hold their text, also an empty one; a self-closing
        // one gives nothing; other elements are unwrapped.
        {"<entry><sense><pos/><pos></pos><gram>pl</gram><quote>q</quote><note>n <hi>h</hi></note>"
         "<mood>x</mood><tns>y</tns><number>z</number></sense></entry>",
         "\n@!\n@:(1)\n@&&@ @&pl&@ @~q~@ n h @&x&@ @&y&@ @&z&@\n:@\n!@\n"},
    });
}

TEST(TeiDictionary, UsageTypes) {
    const std::pair<std::string_view, std::string_view> types[] = {
        {"dom", ".dom"},   {"domain", ".dom"}, {"hint", ".dom"},     {"geo", ".geo"},   {"geographic", ".geo"},
        {"reg", ".reg"},   {"register", ".reg"}, {"style", ".reg"},  {"plev", ".reg"},  {"time", ".time"},
        {"temporal", ".time"}, {"lang", ".lang"}, {"language", ".lang"}, {"region", ""}, {"Geo", ""},
    };
    for (const auto& [type, genos] : types) {
        const std::string tei = cat("<entry><sense><usg type='", type, "'>u</usg></sense></entry>");
        EXPECT_EQ(written(tei), cat("\n@!\n@:(1)\n@[u]@", genos, "\n:@\n!@\n")) << type;
    }
    EXPECT_EQ(written("<entry><sense><usg>u</usg></sense></entry>"), "\n@!\n@:(1)\n@[u]@\n:@\n!@\n");
}

TEST(TeiDictionary, CrossReferences) {
    const std::pair<std::string_view, std::string_view> types[] = {
        {"cf", ".cf"}, {"comparison", ".cf"}, {"syn", ".syn"}, {"synonymy", ".syn"}, {"ant", ".ant"},
        {"antonymy", ".ant"}, {"see", ".see"}, {"seeAlso", ".see"}, {"related", ".see"}, {"Syn", ""},
    };
    for (const auto& [type, genos] : types) {
        const std::string tei = cat("<entry><sense><xr type='", type, "'><ref>t</ref></xr></sense></entry>");
        EXPECT_EQ(written(tei), cat("\n@!\n@:(1)\n@>(t)", genos, "\n:@\n!@\n")) << type;
    }
    expect_cases({
        // Targets lose their leading "#"; a ref without target names its
        // text; text between refs is dropped, a label kept.
        {"<entry><sense><xr type='synonymy'><lbl>Syn.</lbl><ref target='#big-1'>big</ref> Syn.: "
         "<ref>large</ref><ref target='##'>x</ref><ref target='#'/><lbl/></xr></sense></entry>",
         "\n@!\n@:(1)\nSyn. @>(big-1).syn@>(large).syn\n:@\n!@\n"},
        // A self-closing ref is empty: it does not read on to a later end tag.
        {"<entry><sense><xr><ref target='a'/><ref>b</ref></xr></sense></entry>",
         "\n@!\n@:(1)\n@>(a)@>(b)\n:@\n!@\n"},
    });
}

// Quotations of a citation are examples, or in a translation the sim "'"
// with the language of the quotation; a bibl or author is its source.
TEST(TeiDictionary, Citations) {
    expect_cases({
        {"<entry><sense><cit><quote>He ran.</quote><bibl>Smith</bibl></cit></sense></entry>",
         "\n@!\n@:(1)\n@~He ran.~@ @,Smith,@.author\n:@\n!@\n"},
        {"<entry><sense><cit type='translation'><quote xml:lang='fr' lang='de'>Il court.</quote>"
         "<quote lang='de'>d</quote><quote lang='EN'>e</quote><quote lang='C++'>c</quote><quote>q</quote></cit>"
         "<cit type='translationEquivalent'><quote>t</quote><author>A</author><bibl></bibl></cit>"
         "<cit type='example'><quote lang='fr'>x</quote></cit></sense></entry>",
         "\n@!\n@:(1)\n@'Il court.'@.fr@'d'@.de@'e'@.en@'c'@@'q'@ @'t'@ @,A,@.author @~x~@\n:@\n!@\n"},
    });
}

// A related entry, or an entry written inside an entry, is a nested entry
// with the number of its "n" attribute; it ends at its own end tag.
TEST(TeiDictionary, NestedEntries) {
    expect_cases({
        {"<entry><re n='2'><form><orth>run up</orth></form></re><re n='two'/><re n='-1'></re><re n=''></re>"
         "<re n='+'></re><entry n='+3'><form><orth>x</orth></form></entry><sense>s</sense></entry>",
         "\n@!\n@!(2) run up\n!@\n\n@!\n!@\n\n@!\n!@\n\n@!\n!@\n\n@!\n!@\n\n@!(3) x\n!@\n\n@:(1)\ns\n:@\n!@\n"},
        {"<entry n='18446744073709551615'></entry><entry n='18446744073709551616'></entry><entry n=' 1'></entry>",
         "\n@!(18446744073709551615)\n!@\n\n@!\n!@\n\n@!\n!@\n"},
    });
}

// A self-closing start tag is an empty element, whatever its name.
TEST(TeiDictionary, SelfClosingElementsAreEmpty) {
    expect_cases({
        {"<entry><form/><orth>x</orth><gramGrp/><etym/><xr/><usg/><cit/><sense><def/><quote/><cit><quote/></cit>"
         "</sense></entry>",
         "\n@!\n@:(1)\n@~~@\n:@\n!@\n"},
    });
}

TEST(TeiDictionary, Unterminated) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"<entry><form><orth>x</orth>", "form"},
        {"<entry><sense>", "sense"},
        {"<entry><sense><def>x", "def"},
        {"<entry><sense><usg>x</sense></entry>", "usg"},
        {"<entry><sense><xr><ref>x</ref>", "xr"},
        {"<entry><sense><xr><ref>x</xr>", "ref"},
        {"<entry><sense><cit><quote>x</quote>", "cit"},
        {"<entry><re>x</entry>", "re"},
        {"<entry><gramGrp><pos>x</pos>", "gramGrp"},
        {"<entry>", "entry"},
    };
    for (const auto& [tei, name] : cases) {
        EXPECT_EQ(written(tei), cat("error: missing or unreadable resource: tei import: unterminated <", name, ">"))
            << tei;
    }
}

TEST(TeiDictionary, DeepNestingFailsCleanly) {
    for (const std::string_view element : {"sense", "re", "form", "hi", "usg", "quote"}) {
        std::string tei = "<entry>";
        if (element == "hi" || element == "usg" || element == "quote") tei += "<sense>";
        for (int i = 0; i < 100000; ++i) tei += cat("<", element, ">");
        EXPECT_EQ(written(tei), "error: missing or unreadable resource: tei import: nesting deeper than 256 levels")
            << element;
    }
    std::string deep = "<entry>";
    for (int i = 0; i < 250; ++i) deep += "<sense>";
    for (int i = 0; i < 250; ++i) deep += "</sense>";
    EXPECT_EQ(written(deep + "</entry>").substr(0, 16), "\n@!\n@:(1)\n@:(1)\n");
}

}  // namespace
}  // namespace ilvex
