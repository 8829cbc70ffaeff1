#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/error.hpp"
#include "endo/jats/jats_importer.hpp"

namespace ilvex {
namespace {

using Inlines = std::vector<Inline>;
using Blocks = std::vector<Block>;

Inline text(std::string s) { return Inline::Text{std::move(s)}; }

Block paragraph(Inlines inlines) { return Block::Paragraph{std::move(inlines)}; }

Block para(std::string symbol, Inlines lemma, Blocks children, Suffix suffix = {}) {
    return Block::Para{true, std::move(symbol), std::move(lemma), std::move(children), {}, std::move(suffix),
                       Taxis::absent()};
}

Block field(std::string name, std::string value) {
    return para(":", {text(std::move(name))}, {paragraph({text(std::move(value))})});
}

Document imported(std::string_view source) {
    Result<Document> document = import_jats(source);
    EXPECT_TRUE(document.ok()) << (document.ok() ? "" : error_message(document.error()));
    return document.ok() ? std::move(document).value() : Document{};
}

// The tree as the writer gets it: what the text shows only through the
// writer's own spelling (onyms, genoses, parameters) is compared here.
TEST(JatsImporter, BuildsSectionsNotesCitesAndEntries) {
    const Document document = imported(
        "<article><body><sec><title>S</title><p>a<xref ref-type='bibr' rid='x)y  z'/>"
        "<fn><p>n</p></fn></p></sec></body>"
        "<back><ref id='x)y'><element-citation publication-type='book'><year>1</year>"
        "<name><surname>R</surname></name></element-citation></ref></back></article>");
    const Blocks section_body = {
        paragraph({text("a"), Inline::Monosim{">[", "x)y", {}}, Inline::Monosim{">[", "z", {}},
                   Inline::Deixis{"^", "n1", {}}}),
        para("^", {}, {paragraph({text("n")})}, Suffix{"n1", {}}),
    };
    const Block entry = para("&", {text("x)y")}, {field("author", "R"), field("year", "1")}, Suffix{{}, {"book"}});
    const Document expected{"litogramma", std::nullopt,
                            {para("#", {text("S")}, section_body), Block::Englossis{"bibliogramma", {entry}, {}}}};
    EXPECT_EQ(document, expected);
}

TEST(JatsImporter, FailsCleanlyOnDeepOrBrokenInput) {
    std::string deep_sections = "<article><body>";
    for (int i = 0; i < 100'000; ++i) deep_sections += "<sec><title>t</title>";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {deep_sections, "missing or unreadable resource: jats import: nesting deeper than 256 levels"},
        {"<article><body><p>a<bold>b", "missing or unreadable resource: jats import: unterminated <bold>"},
        {"<article><back><ref id='a'><name>", "missing or unreadable resource: jats import: unterminated <name>"},
        {"<article><body><p><xref ref-type='bibr' rid='a'>",
         "missing or unreadable resource: tei import: unterminated <xref>"},
    };
    for (const auto& [source, message] : cases) {
        const Result<Document> document = import_jats(source);
        ASSERT_FALSE(document.ok()) << source.substr(0, 60);
        EXPECT_EQ(error_message(document.error()), message);
    }
}

}  // namespace
}  // namespace ilvex
