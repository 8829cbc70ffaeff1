// Imports handed over block by block: what a sink receives, and the text
// the module's endo writes as the blocks come.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/error.hpp"
#include "endo/import_sink.hpp"
#include "endo/import_writer.hpp"
#include "endo/light_markup/markdown_importer.hpp"
#include "local_dialektoi.hpp"
#include "repeated_text.hpp"
#include "round_trip.hpp"

namespace ilvex {
namespace {

using namespace ilvex::testing;

// Written block by block, every kind of Markdown block, nested and side by
// side, gives the text of the whole tree, and that text reads back.
TEST(StreamedImport, MarkdownWritesWhatTheWholeTreeWrites) {
    const std::string cases[] = {
        "",
        " \t\r\n\r\r\n\n",
        "# One\n## Two *em*\n###### #six\n# \n",
        "para one\nline two\n\npara  three\r\nand **four**\r\n",
        "```python\nx = 1\n  \"@@@ closes early\n\"@@@\ny\n```\nafter\n",
        "```\nunclosed fence\n\n",
        "> quote\n> > nested **strong**\n>\n> back\n>\n\nout\n",
        "- item\n  continued\n\n  second\n- 3. ordered inside\n     deeper\n  > quoted\n",
        "1. one\n2. two\n\n18446744073709551615. max\n",
        "[^n1]: note with [link](http://a.b)\n    > quoted in a note\n\nText[^n1] and [^bad label].\n",
        "![](img/a b.png)\n![alt](x.png)\n",
        "# h\n> q\n- i\n1. o\n[^a]: f\n![](i)\n```\nc\n```\np\n",
        // Paragraphs written as lines from their flat inlines, escapes
        // splitting their texts, and beside them paragraphs left to the
        // writer (a sigil, a bar, a carriage return, a literal closer), at
        // the top level and in open quotes and items.
        "a\\*b *c\\*d* [t\\](u) [](v) [w](w) <x:y>\\!\n\n  lead `c`[^n]\n",
        "> a@b *c*\n> - x|y **z**\n>   `\"@@`\n> 1. q\r\r\n\n- *\\**\n- [^n]: f\n",
        // Decomposed text, also where a combining mark begins a text after
        // another one, in a fence, a label and a parameter.
        "# Cafe\xCC\x81\n\ne\xCC\x81 `e\xCC\x81` e[\xCC\x81 x](u)\n\n- \xCC\x81 item\n\n"
        "```\no\xCC\x88\n```\n[^e\xCC\x81]: note\n\n![](a\xCC\x81.png)\n",
        repeated("> ", 300) + "deeper than nesting goes\n\nafter\n",
        repeated("- ", 300) + "x\n" + repeated("  ", 300) + "y\n",
    };
    std::string all;
    for (const std::string& markdown : cases) {
        all += markdown + "\n";
        const std::string failure = check_streamed_import(import_markdown, markdown, local_dialektoi().path());
        EXPECT_TRUE(failure.empty()) << failure << quoted("markdown", markdown);
    }
    const std::string failure = check_streamed_import(import_markdown, all, local_dialektoi().path());
    EXPECT_TRUE(failure.empty()) << failure;
}

// A sink that refuses every declaration and counts the blocks it is given.
class RefusingSink final : public ImportSink {
public:
    Status declaration(std::string_view, const std::optional<std::string>&) override {
        return Error(ErrorKind::Other, "refused");
    }
    std::size_t blocks = 0;

private:
    void accept(Block&&) override { ++blocks; }
};

TEST(StreamedImport, RefusedDeclarationStopsTheImport) {
    RefusingSink sink;
    const Status imported = import_markdown("# a\n\nb\n", sink);
    ASSERT_FALSE(imported.ok());
    EXPECT_EQ(error_message(imported.error()), error_message(Error(ErrorKind::Other, "refused")));
    EXPECT_EQ(sink.blocks, 0u);
}

TEST(ImportWriter, TargetMustBeAStandardDialektos) {
    ImportWriter known(0);
    EXPECT_TRUE(known.declaration("il-markdown", std::nullopt).ok());
    ImportWriter unknown(0);
    EXPECT_FALSE(unknown.declaration("no-such-dialektos", std::nullopt).ok());
    ImportWriter user_defined(0);
    EXPECT_TRUE(user_defined.declaration("lexigramma", std::nullopt).ok());
}

Inline text(std::string s) { return Inline::Text{std::move(s)}; }
Block paragraph(std::vector<Inline> inlines) { return Block::Paragraph{std::move(inlines)}; }

// Every importer's blocks reach the sink in NFC: each string of the block
// and its descendants, and texts side by side joined where a combining mark
// composes across them.
TEST(ImportSink, BlocksArriveInNfc) {
    const std::string e_acute = "e\xCC\x81", composed_e = "\xC3\xA9";
    const std::string o_umlaut = "o\xCC\x88", composed_o = "\xC3\xB6";
    const std::pair<Block, Block> cases[] = {
        {paragraph({text("e"), text("\xCC\x81"), text("\xCC\x81x")}),
         paragraph({text(composed_e), text("\xCC\x81x")})},  // the second mark has nothing to compose with
        {paragraph({text("x"), text("\xCC\x81"), text("y")}),
         paragraph({text("x"), text("\xCC\x81"), text("y")})},
        {paragraph({Inline::EndoSimmere{"*", {text(e_acute)}, {o_umlaut, {o_umlaut}}, true}}),
         paragraph({Inline::EndoSimmere{"*", {text(composed_e)}, {composed_o, {composed_o}}, true}})},
        {Block::Para{true, ">", {}, {paragraph({text(o_umlaut)})}, {}, {o_umlaut, {}}, Taxis::absent()},
         Block::Para{true, ">", {}, {paragraph({text(composed_o)})}, {}, {composed_o, {}}, Taxis::absent()}},
        {Block::MonadEnlexis{o_umlaut + "\n", {std::nullopt, {e_acute}}},
         Block::MonadEnlexis{composed_o + "\n", {std::nullopt, {composed_e}}}},
        {Block::Enmedia{"a" + e_acute + ".png"}, Block::Enmedia{"a" + composed_e + ".png"}},
    };
    DocumentCollector collector;
    std::vector<Block> expected;
    for (const auto& [given, composed] : cases) {
        collector.block(Block(given));
        expected.push_back(composed);
    }
    EXPECT_EQ(std::move(collector).document().blocks, expected);
}

}  // namespace
}  // namespace ilvex
