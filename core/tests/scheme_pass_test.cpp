#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "endo/scripture/scheme_import.hpp"
#include "endo/scripture/scheme_pass.hpp"
#include "endo/scripture/scripture_blocks.hpp"

namespace ilvex {
namespace {

using Inlines = std::vector<Inline>;
using Blocks = std::vector<Block>;

Inline text(std::string s) { return Inline::Text{std::move(s)}; }
Inline verse(std::string n) { return verse_milestone(std::move(n)); }
Inline milestone(std::string scheme, std::string value, std::vector<std::string> genoses = {}) {
    return Inline::Milestone{std::move(scheme), std::move(value), Suffix{std::nullopt, std::move(genoses)}};
}
Block paragraph(Inlines inlines) { return Block::Paragraph{std::move(inlines)}; }
Document document(Blocks blocks) { return Document{"il-usfm", std::nullopt, std::move(blocks)}; }

Document applied(Document doc) {
    apply_scheme(doc, "vers");
    return doc;
}

// The same pass as the import streams: block by block, or with each
// division in pieces (its header, then each child).
Document streamed(const Document& doc, bool in_pieces) {
    DocumentCollector collector;
    SchemeSink sink("vers", collector);
    EXPECT_TRUE(sink.declaration(doc.dialektos, doc.version).ok());
    for (Block block : doc.blocks) {
        auto* para = std::get_if<Block::Para>(&block.node);
        if (!in_pieces || para == nullptr) {
            sink.block(std::move(block));
            continue;
        }
        Blocks children = std::move(para->children);
        para->children.clear();
        sink.open(std::move(block));
        for (Block& child : children) sink.block(std::move(child));
        sink.close();
    }
    sink.finish();
    return std::move(collector).document();
}

void expect_streamed(const Document& source, const Document& expected) {
    EXPECT_EQ(streamed(source, false), expected);
    EXPECT_EQ(streamed(source, true), expected);
}

TEST(ApplyScheme, MarksBecomeReferencesOfTheirBookAndChapter) {
    const Document source = document({
        book_division_block("gen", {chapter_block("1"), paragraph({verse("1"), text(" a "), verse("2")})}),
        book_division_block("  exo  ", {paragraph({verse("1")}), chapter_block("3"),
                                        Block::Stichoi{true, "~", {}, {{{phrase("q1", {verse("4"), text(" b")})}}},
                                                       {}, {}, Taxis::absent()}}),
    });
    const Document expected = document({
        book_division_block("gen", {paragraph({milestone("vers", "gen.1")}),
                                    paragraph({milestone("vers", "gen.1.1"), text(" a "), milestone("vers", "gen.1.2")})}),
        // The second book starts without a chapter: its first verse has no
        // reference that a milestone could hold.
        book_division_block("  exo  ", {paragraph({verse("1")}), paragraph({milestone("vers", "exo.3")}),
                                        Block::Stichoi{true, "~", {}, {{{phrase("q1", {milestone("vers", "exo.3.4"), text(" b")})}}},
                                                       {}, {}, Taxis::absent()}}),
    });
    const Document once = applied(source);
    EXPECT_EQ(once, expected);
    expect_streamed(source, expected);
    EXPECT_EQ(applied(once), once);  // nothing left to rewrite, nothing moves
}

TEST(ApplyScheme, MarksWithoutAWritableReferenceStay) {
    // No book at all; an empty chapter; a verse number no reference holds.
    const Document outside = document({chapter_block("1"), paragraph({verse("1")})});
    EXPECT_EQ(applied(outside), outside);
    const Document odd = document({book_division_block("gen", {chapter_block(""), chapter_block("2"),
                                                               paragraph({verse("2,3"), verse("4")})})});
    const Document expected = document({book_division_block(
        "gen", {chapter_block(""), paragraph({milestone("vers", "gen.2")}),
                paragraph({verse("2,3"), milestone("vers", "gen.2.4")})})});
    EXPECT_EQ(applied(odd), expected);
}

TEST(ApplyScheme, PagesAndSectionsMoveOnlyWhenTheSchemeIsNew) {
    const Blocks marks = {paragraph({milestone("page", "12", {"old"}), text(" x "), milestone("section", "a")})};
    const Document moved = document({paragraph({milestone("vers", "12", {"page"}), text(" x "),
                                                milestone("vers", "a", {"section"})})});
    EXPECT_EQ(applied(document(marks)), moved);
    expect_streamed(document(marks), moved);

    // A milestone of the scheme anywhere, even deep in a later book, keeps
    // them where they are.
    Blocks with_scheme = marks;
    with_scheme.push_back(book_division_block("gen", {paragraph({phrase("nd", {milestone("vers", "x")})})}));
    EXPECT_EQ(applied(document(with_scheme)), document(with_scheme));
    expect_streamed(document(with_scheme), document(with_scheme));

    // Streamed, the blocks that wait for the answer keep their order and
    // the chapter of marks outside any book.
    const Document mixed = document({chapter_block("1"), paragraph({milestone("page", "1")}),
                                     paragraph({verse("2")}), book_division_block("gen", {chapter_block("3")}),
                                     paragraph({verse("4")})});
    expect_streamed(mixed, applied(mixed));
}

TEST(ApplyScheme, ExistenceTestLooksWhereMilestonesCanStand) {
    const Block in_lemma = Block::Para{true, "#", {milestone("vers", "x")}, {}, {}, {}, Taxis::absent()};
    const Block in_englossis = Block::Englossis{"il-usfm", {paragraph({milestone("vers", "x")})}, {}};
    const Block elsewhere = paragraph({milestone("other", "x"), Inline::Monosim{"|", "1", {}}});
    EXPECT_TRUE(blocks_have_milestone_scheme("vers", in_lemma));
    EXPECT_TRUE(blocks_have_milestone_scheme("vers", in_englossis));
    EXPECT_FALSE(blocks_have_milestone_scheme("vers", elsewhere));
    EXPECT_FALSE(blocks_have_milestone_scheme("ver", in_lemma));
}

}  // namespace
}  // namespace ilvex
