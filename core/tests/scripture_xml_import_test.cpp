// The USX and OSIS importers written block by block give the text of the
// whole tree, which reads back; and the number an OSIS chapter or verse
// element carries.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "endo/scripture/osis_importer.hpp"
#include "endo/scripture/osis_inlines.hpp"
#include "endo/scripture/usx_importer.hpp"
#include "local_dialektoi.hpp"
#include "round_trip.hpp"

namespace ilvex {
namespace {

using namespace ilvex::testing;

TEST(ScriptureXmlImport, UsxWritesWhatTheWholeTreeWrites) {
    const std::string cases[] = {
        "<usx><book code='GEN'>Genesis</book><chapter number='1'/><para style='s'>Head</para>"
        "<para style='p'>\n  <verse number='1'/>a <char style='nd'> x\\ </char>\\<note style='f'>"
        "<char style='fr'>1.1</char><char style='ft'>n</char><char>q</char></note><optbreak/>b</para>"
        "<para style='q1'>one</para><para style='b'/><para style='q2'>two</para>"
        "<book code='EXO'/><chapter number='2 a'/><para style='m'><verse number=''/>c\xCC\x81</para></usx>",
        "<book code=''/><para style='p'>@ | \\@ \"@@ <ref>r</ref></para>",
    };
    for (const std::string& usx : cases) {
        const std::string failure = check_streamed_import(import_usx, usx, local_dialektoi().path());
        EXPECT_TRUE(failure.empty()) << failure << quoted("usx", usx);
    }
}

TEST(ScriptureXmlImport, OsisWritesWhatTheWholeTreeWrites) {
    const std::string cases[] = {
        "<osis><osisText><header/><div type='book' osisID='Gen'><title type='main' short='G'>Genesis</title>"
        "<chapter osisID='Gen.1'><div type='section'><title>Creation</title><p><verse osisID='Gen.1.1'/>a"
        "<lb/>b<hi type='bold'>c\\</hi><note><reference>1.1</reference> n</note></p></div>"
        "<lg><l level='2'>one</l><lg><l>two</l></lg></lg><lg><l>three</l></lg><speaker>S</speaker>"
        "</chapter></div><div type='book' osisID='Exod'/></osisText></osis>",
        "<div type='book' osisID=' 1 Kgs '><p><seg type='Bad Type'>x</seg> @ \"@@</p></div>",
    };
    for (const std::string& osis : cases) {
        const std::string failure = check_streamed_import(import_osis, osis, local_dialektoi().path());
        EXPECT_TRUE(failure.empty()) << failure << quoted("osis", osis);
    }
}

TEST(ScriptureXmlImport, OsisNumber) {
    using Attrs = std::vector<XmlAttribute>;
    const std::pair<Attrs, std::optional<std::string>> cases[] = {
        {{{"n", ""}, {"osisid", "Gen.1.3"}}, ""},  // n wins, even empty
        {{{"osisid", "Gen.1.3"}, {"sid", "Gen.1.4"}}, "3"},
        {{{"osisid", "Gen"}}, "Gen"},
        {{{"osisid", "Gen.1."}}, ""},
        {{{"sid", "Gen.1.4"}}, "4"},
        {{{"eid", "Gen.1.4"}}, std::nullopt},
    };
    for (const auto& [attrs, number] : cases) EXPECT_EQ(osis_number(attrs), number);
}

}  // namespace
}  // namespace ilvex
