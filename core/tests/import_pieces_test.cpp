// A top-level block handed over in pieces (open, each child, close): a sink
// that does not take pieces gets the whole block, and the writer writes the
// same text as for the whole block.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "dendron/document.hpp"
#include "endo/import_sink.hpp"
#include "endo/import_writer.hpp"
#include "endo/scripture/scripture_blocks.hpp"

namespace ilvex {
namespace {

// Hands `document` to `sink`, every Para in pieces.
void hand_in_pieces(const Document& document, ImportSink& sink) {
    ASSERT_TRUE(sink.declaration(document.dialektos, document.version).ok());
    for (Block block : document.blocks) {
        auto* para = std::get_if<Block::Para>(&block.node);
        if (para == nullptr) {
            sink.block(std::move(block));
            continue;
        }
        std::vector<Block> children = std::move(para->children);
        para->children.clear();
        sink.open(std::move(block));
        for (Block& child : children) sink.block(std::move(child));
        sink.close();
    }
}

TEST(ImportPieces, AreTheWholeBlockToEverySink) {
    const Document document{
        "il-usfm",
        std::nullopt,
        {chapter_block("0"),
         book_division_block("gen", {chapter_block("1"), Block::Paragraph{{verse_milestone("1"), Inline::Text{" e\u0301"}}}}),
         book_division_block("exo", {}),
         Block::Paragraph{{Inline::Text{"after"}}}},
    };
    DocumentCollector collector;
    hand_in_pieces(document, collector);
    Document expected = document;
    // Strings are put in NFC on the way, piece by piece as whole.
    std::get<Inline::Text>(std::get<Block::Paragraph>(std::get<Block::Para>(expected.blocks[1].node).children[1].node)
                               .inlines[1]
                               .node)
        .text = " \u00e9";
    EXPECT_EQ(std::move(collector).document(), expected);

    ImportWriter whole(0);
    ASSERT_TRUE(whole.declaration(document.dialektos, document.version).ok());
    for (Block block : document.blocks) whole.block(std::move(block));
    ImportWriter pieces(0);
    hand_in_pieces(document, pieces);
    EXPECT_EQ(std::move(pieces).finish(), std::move(whole).finish());
}

}  // namespace
}  // namespace ilvex
