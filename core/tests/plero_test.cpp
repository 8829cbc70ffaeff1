#include <gtest/gtest.h>

#include "dendron/plero.hpp"
#include "dendron_fixture.hpp"
#include "dialektos/error.hpp"

namespace ilvex {
namespace {

using namespace ilvex::testing;

Document sample() {
    return Document{
        "fixture",
        "1",
        {
            para("#", {text("Intro "), endo("*", {text("b")})},
                 {paragraph({text("a "), endo("*", {text("x")}, genos("em")), text(" see "), monosim(">", "s1"),
                             deixis("^", "n1"), Inline::Milestone{"page", "2", {}}, Inline::OnymAnchor{"o"},
                             Inline::Enlexis{"@*", {}}, Inline::Diaphane{{endo("/", {text("d")})}, {}}})},
                 onym("s1"), {}, Taxis::of(1)),
            verse("~", {{{text("line "), endo("*", {text("v")})}}}),
            Block::ParaAxioma{"ax", {paragraph({endo("*", {text("kept")})})}},
            paragraph({Inline::EndoAxioma{"ex", {endo("*", {text("kept")})}}}),
        },
    };
}

const char* const primary_names =
    "@@@!fixture@1\n\n"
    "@{section}(1) Intro @{strong}b{strong}@\n"
    "a @{strong}x{strong}@.em see @{ref}(s1)@{footnote}(n1)@(\"page:2\")@(o)@@\"@*\"@@@@.@{emphasis}d{emphasis}@.@@\n"
    "{section}@(s1)\n\n"
    "@{verse}\nline @{strong}v{strong}@\n{verse}@\n\n"
    "@@@:\n@*kept*@\n:@@@(ax)\n\n"
    "@@:@*kept*@:@@(ex)\n";

TEST(RenderPlero, NamesEverySimOutsideAxiomata) {
    const Dialektos d = fixture();
    const Document document = sample();
    const Document before = document;
    const auto text = render_plero(document, d, std::nullopt);
    ASSERT_TRUE(text.ok()) << error_message(text.error());
    EXPECT_EQ(*text, primary_names);
    EXPECT_EQ(document, before);
}

TEST(RenderPlero, GlossaNamesWithFallbackToPrimaryNames) {
    Dialektos d = fixture();
    d.glossae["de"] = {{"#", "abschnitt"}, {"~", "vers"}};
    const auto text = render_plero(sample(), d, "de");
    ASSERT_TRUE(text.ok()) << error_message(text.error());
    std::string expected = primary_names;
    for (auto [from, to] : {std::pair{"{section}", "{abschnitt}"}, std::pair{"{verse}", "{vers}"}}) {
        for (auto at = expected.find(from); at != std::string::npos; at = expected.find(from)) {
            expected.replace(at, std::string_view(from).size(), to);
        }
    }
    EXPECT_EQ(*text, expected);
    // The glossa of another language changes nothing without a language.
    EXPECT_EQ(*render_plero(sample(), d, std::nullopt), primary_names);
}

// Names of one length that share their second and last-but-one characters,
// alternating, of endo-simmeres and of para-simmeres: each sim keeps its own
// spelling.
TEST(RenderPlero, AlternatingNamesOfOneShape) {
    Dialektos d = fixture();
    d.glossae["de"] = {{"*", "abc"}, {"/", "axc"}, {"#", "abd"}, {"~", "xyd"}};
    const Document document{"fixture", "1",
                            {para("#", {text("s")}, {paragraph({endo("*", {text("x")}), text(" "),
                                                                endo("/", {text("y")}), text(" "),
                                                                endo("*", {text("z")})})}),
                             verse("~", {{{text("v")}}}), para("#", {text("t")}, {})}};
    const auto text = render_plero(document, d, "de");
    ASSERT_TRUE(text.ok()) << error_message(text.error());
    EXPECT_EQ(*text,
              "@@@!fixture@1\n\n"
              "@{abd} s\n@{abc}x{abc}@ @{axc}y{axc}@ @{abc}z{abc}@\n{abd}@\n\n"
              "@{xyd}\nv\n{xyd}@\n\n"
              "@{abd} t\n{abd}@\n");
}

TEST(RenderPlero, Failures) {
    const Dialektos plain = fixture();
    const auto missing = render_plero(sample(), plain, "fr");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(error_message(missing.error()),
              "cannot resolve dialektos `fixture.fr.glossa`: no local .lektos/.dia file");
    EXPECT_FALSE(missing.error().location);

    const auto undefined = render_plero(Document{"fixture", {}, {paragraph({monosim("?", "x")})}}, plain, {});
    ASSERT_FALSE(undefined.ok());
    EXPECT_EQ(error_message(undefined.error()), "undefined sim `?`");

    // A name that another sim carries in any glossa, even unasked for.
    Dialektos shared = fixture();
    shared.glossae["de"] = {{"*", "section"}};
    const auto ambiguous = render_plero(sample(), shared, std::nullopt);
    ASSERT_FALSE(ambiguous.ok());
    EXPECT_EQ(error_message(ambiguous.error()), "sim name `section` is not unambiguously addressable in `fixture`");
    // The first failing sim in document order is reported.
    const auto german = render_plero(sample(), shared, "de");
    ASSERT_FALSE(german.ok());
    EXPECT_EQ(error_message(german.error()), "sim name `section` is not unambiguously addressable in `fixture`");
}

TEST(RenderPlero, EnglossisChildrenAreNamedThroughTheirOwnDialektos) {
    Dialektos embedded;
    embedded.id = "inner";
    add_sim(embedded, "entry", "&", grammata(Occurrence::Absent, Occurrence::Required));
    add_sim(embedded, "bold", "*", EndoSimmere{});
    embedded.glossae["de"] = {{"&", "eintrag"}};
    const ResolveDialektos resolve = [&](std::string_view id) -> Result<Dialektos> {
        if (id == "inner") return embedded;
        return Error(ErrorKind::UnresolvedDialektos, std::string(id));
    };
    const Document document{
        "fixture",
        {},
        {Block::Englossis{"inner", {para("&", {text("k")}, {paragraph({endo("*", {text("b")})})})}, {}}}};

    Dialektos outer = fixture();
    outer.glossae["de"] = {};
    outer.glossae["fr"] = {};
    EXPECT_EQ(*render_plero(document, outer, "de", resolve),
              "@@@!fixture\n\n@@@!(inner)\n@{eintrag} k\n@{bold}b{bold}@\n{eintrag}@\n!@@@\n");
    // Without a glossa for the language, the embedded sims keep their names.
    EXPECT_EQ(*render_plero(document, outer, "fr", resolve),
              "@@@!fixture\n\n@@@!(inner)\n@{entry} k\n@{bold}b{bold}@\n{entry}@\n!@@@\n");
    // Without a resolver they keep their symbols, which read back the same.
    EXPECT_EQ(*render_plero(document, outer, "de"), "@@@!fixture\n\n@@@!(inner)\n@& k\n@*b*@\n&@\n!@@@\n");

    const Document unknown{"fixture", {}, {Block::Englossis{"nowhere", {}, {}}}};
    const auto failed = render_plero(unknown, outer, std::nullopt, resolve);
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(error_message(failed.error()), "cannot resolve dialektos `nowhere`: no local .lektos/.dia file");
}

}  // namespace
}  // namespace ilvex
