// A top-level block handed to an import sink in pieces: a collector gathers
// it into one block, the writer writes it as it comes, the same text as the
// whole block.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "dendron/document.hpp"
#include "endo/import_sink.hpp"
#include "endo/import_writer.hpp"

namespace ilvex {
namespace {

Block paragraph(std::string text) { return Block::Paragraph{{Inline::Text{std::move(text)}}}; }

Block entry(std::string key) {
    return Block::Para{true, "&", {Inline::Text{std::move(key)}}, {paragraph("x")}, {}, Suffix{{}, {"misc"}},
                       Taxis::absent()};
}

// "e\u0301" goes to NFC piece by piece as a whole block would.
void hand_over(ImportSink& sink) {
    ASSERT_TRUE(sink.declaration("litogramma", std::nullopt).ok());
    sink.block(paragraph("before"));
    sink.open(Block::Englossis{"bibliogramma", {}, {}});
    sink.block(entry("a"));
    sink.block(entry("e\xCC\x81"));
    sink.close();
    sink.block(paragraph("after"));
}

TEST(ImportSinkPieces, CollectedAsOneBlockAndWrittenAlike) {
    const Document expected{"litogramma",
                            std::nullopt,
                            {paragraph("before"), Block::Englossis{"bibliogramma", {entry("a"), entry("\xC3\xA9")}, {}},
                             paragraph("after")}};
    DocumentCollector collector;
    hand_over(collector);
    EXPECT_EQ(std::move(collector).document(), expected);

    ImportWriter pieces(0);
    hand_over(pieces);
    ImportWriter whole(0);
    ASSERT_TRUE(whole.declaration("litogramma", std::nullopt).ok());
    for (Block block : expected.blocks) whole.block(std::move(block));
    EXPECT_EQ(std::move(pieces).finish(), std::move(whole).finish());
}

}  // namespace
}  // namespace ilvex
