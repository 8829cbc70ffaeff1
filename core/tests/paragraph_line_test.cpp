// Paragraphs that the import writer writes as lines itself: the text must be
// the one the document writer writes for the same tree, wherever the
// paragraph stands, and a paragraph of the common kinds must take that way.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/resolution.hpp"
#include "dialektos/memory_source.hpp"
#include "endo/import_writer.hpp"
#include "dendron/paragraph_line.hpp"
#include "round_trip.hpp"

namespace ilvex {
namespace {

using Inlines = std::vector<Inline>;

Inline text(std::string s) { return Inline::Text{std::move(s)}; }
Inline sim(std::string symbol, Inlines children, Suffix suffix = {}, bool mirrored = true) {
    return Inline::EndoSimmere{std::move(symbol), std::move(children), std::move(suffix), mirrored};
}
Inline code(std::string s) { return Inline::Enlexis{std::move(s), {}}; }
Inline note(std::string target) { return Inline::Deixis{"^", std::move(target), {}}; }

// Paragraphs that meet the writer's rules: suffix guards, closers met early,
// white space the parser trims, sigils, enlexeis in pieces, deixeis opening
// the line, symbols run on, kinds written only by the writer.
std::vector<Inlines> paragraphs() {
    return {
        {text("plain words")},
        {text("a "), sim("*", {text("b")}), text(" c "), sim("**", {text("d")}), text(".")},
        {sim("*", {text("x")}), text("(y)")},
        {sim("*", {text("x")}), text(".y")},
        {sim("*", {text("x")}), text(".Y")},
        {sim("*", {text("x")}), text(""), text("("), text("y)")},
        {code("c"), text("(d) e")},
        {text("n"), note("n1"), text("(x)")},
        {text("n"), note("n1"), text(".b")},
        {sim("*", {text("x")}, Suffix{std::nullopt, {"k"}}), text("-y")},
        {sim("*", {text("x")}, Suffix{"o", {}}), text("(y)")},
        {sim("-", {text("a "), sim("*", {text("b")}, Suffix{std::nullopt, {"k"}})})},
        {sim("(", {text("a "), sim("*", {text("b")})})},
        {sim("*", {text("a*"), code("c")})},
        {sim("**", {text("a**"), sim("*", {text("b")})})},
        {sim("**", {text("a "), sim("*", {text("b")}), text(" c")})},
        {sim("*", {text("x")}), sim("**", {text("y")}), code("z"), note("n2")},
        {note("n1"), text(" x")},
        {note("12"), text(" x")},
        {text("  a "), sim("*", {text("b")})},
        {text(" "), sim("*", {text("b")})},
        {text("   ")},
        {text("a@b "), sim("*", {text("c")})},
        {text("a|"), sim("*", {text("c")})},
        {text("a\\"), sim("*", {text("c")})},
        {text("x\ry")},
        {text("x\ny")},
        {text("a "), code("x\"@@y")},
        {text("a "), code("x\ny")},
        {text("a "), code("")},
        {sim("*", {text("*x")})},
        {sim("*", {})},
        {sim("*", {text("")})},
        {sim("*", {code("c")})},
        {sim("*", {text("x")}, {}, false)},
        {sim("##", {text("Title")})},
        {sim("#", {text(" #x")})},
        {sim("######", {text("#x")})},
        {text("see "), sim("><", {text("https://example.org/a")}), text(".")},
        {text("-"), sim("*", {text("x")})},
        {text("."), sim("*", {text("x")})},
        {text("-@"), text("x")},
        {text("\xC3\xA9 "), sim("*", {text("\xC3\xBC")}), text(" \xE0\xA4\x95")},
        {text("a "), Inline::Milestone{"page", "1", {}}, text(" b")},
        {text("a "), Inline::Monosim{"^", "x", {}}, text(" b")},
        {text("a "), Inline::OnymAnchor{"o1"}, text(".b")},
        // Over several lines, which the parser trims at their starts, and
        // escaped sigils.
        {text("a\n  b "), sim("*", {text("c")}), text("\n\n d")},
        {text("a\n"), sim("*", {text("c")})},
        {text("a\n"), note("n1"), text(" b")},
        {text("x\n-"), sim("*", {text("y")})},
        {text("x\n."), code("y")},
        {sim("*", {text("a\n")}), text(" b")},
        {text("a\n")},
        {text("a@b\nc@"), sim("**", {text("@")}), text("@")},
        {sim("*", {text("/x")}), sim("*", {text("**")}), sim("**", {sim("*", {text("y")})})},
    };
}

// Each paragraph at the top level, in items, a quote and Paras spelled by
// name, unknown or with a lemma or hypograph, and in an Englossis, where
// sims are spelled against another dialektos.
Document document_of(const Inlines& inlines) {
    const Block paragraph = Block::Paragraph{inlines};
    Block::Para item{true, "-", {}, {paragraph, paragraph}, {}, {}, Taxis::absent()};
    Block::Para numbered{true, ".", {}, {paragraph}, {}, {}, Taxis::of(3)};
    Block::Para quote{false, ">", {}, {paragraph, Block(item)}, {}, {}, Taxis::absent()};
    Block::Para footnote{true, "^", {}, {paragraph}, {}, Suffix{"n1", {}}, Taxis::absent()};
    Block::Para named{true, "{item}", {}, {paragraph}, {}, {}, Taxis::absent()};
    Block::Para unknown{true, "%%", {}, {paragraph}, {}, {}, Taxis::of(0)};
    Block::Para with_lemma{true, "-", {Inline::Text{"lemma"}}, {paragraph}, {}, {}, Taxis::absent()};
    Block::Para with_hypograph{true, "-", {}, {paragraph}, {Inline::Text{"hypograph"}}, {}, Taxis::absent()};
    Block::Englossis embedded{"koine", {paragraph, Block(item)}, {}};
    return Document{"il-markdown",
                    std::nullopt,
                    {paragraph, paragraph, Block(item), Block(numbered), Block(quote), Block(footnote),
                     Block(std::move(named)), Block(std::move(unknown)), Block(std::move(with_lemma)),
                     Block(std::move(with_hypograph)), Block(std::move(embedded)), paragraph}};
}

std::string streamed(const Document& document) {
    ImportWriter writer(0);
    EXPECT_TRUE(writer.declaration(document.dialektos, document.version).ok());
    for (Block block : document.blocks) writer.block(std::move(block));
    return std::move(writer).finish();
}

TEST(ParagraphLine, WrittenAsTheWriterWritesIt) {
    for (const Inlines& inlines : paragraphs()) {
        const Document document = document_of(inlines);
        const Result<std::string> whole = testing::write_imported(document);
        ASSERT_TRUE(whole.ok());
        EXPECT_EQ(streamed(document), *whole);
    }
}

TEST(ParagraphLine, CommonParagraphsTakeTheLine) {
    const Result<Dialektos> markdown = resolve_from_sources(MemorySource(), "il-markdown");
    ASSERT_TRUE(markdown.ok());
    ParagraphLineWriter lines(*markdown);
    std::string line;
    const Inlines common = {text("A "), sim("*", {text("b")}), text(" and "), sim("**", {text("c")}),
                            text(", "), code("d()"), text(" see "), sim("><", {text("https://e.org/")}),
                            text(" x"), note("n1"), text(".")};
    const auto written = [&](const Inlines& inlines, std::string_view block_closer) {
        line.clear();
        return lines.write(inlines, block_closer, line);
    };
    ASSERT_TRUE(written(common, ""));
    EXPECT_EQ(line, "A @*b*@ and @**c**@, @@\"d()\"@@ see @><https://e.org/><@ x@^(n1).");
    ASSERT_TRUE(written({sim("*", {text("x")}), text("(y)")}, "-@"));
    EXPECT_EQ(line, "@*x*@|(y)");
    ASSERT_TRUE(written({text("a@b\n  c")}, ""));
    EXPECT_EQ(line, "a\\@b\nc");
    EXPECT_FALSE(written({text("a|b")}, ""));
    EXPECT_FALSE(written({text("   ")}, ""));
}

}  // namespace
}  // namespace ilvex
