#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/lexical.hpp"
#include "dialektos/memory_source.hpp"
#include "dialektos/resolution.hpp"
#include "dialektos/unicode.hpp"
#include "endo/light_markup/markdown_importer.hpp"
#include "repeated_text.hpp"

namespace ilvex {
namespace {

using Inlines = std::vector<Inline>;
using Blocks = std::vector<Block>;

Inline text(std::string s) { return Inline::Text{std::move(s)}; }
Inline code(std::string s) { return Inline::Enlexis{std::move(s), {}}; }
Inline em(Inlines children) { return Inline::EndoSimmere{"*", std::move(children), {}, true}; }
Inline strong(Inlines children) { return Inline::EndoSimmere{"**", std::move(children), {}, true}; }
Inline link(std::string url) {
    return Inline::EndoSimmere{"><", {text(std::move(url))}, {}, true};
}
Inline ref(std::string label) { return Inline::Deixis{"^", std::move(label), {}}; }

Block paragraph(Inlines inlines) { return Block::Paragraph{std::move(inlines)}; }
Block heading(std::size_t level, Inlines children) {
    return paragraph({Inline::EndoSimmere{std::string(level, '#'), std::move(children), {}, true}});
}
Block para(std::string symbol, bool mirrored, Blocks children, Suffix suffix = {},
           Taxis taxis = Taxis::absent()) {
    return Block::Para{mirrored, std::move(symbol), {}, std::move(children), {}, std::move(suffix),
                       taxis};
}
Block quote(Blocks children) { return para(">", false, std::move(children)); }
Block bullet(Blocks children) { return para("-", true, std::move(children)); }
Block item(std::uint64_t n, Blocks children) {
    return para(".", true, std::move(children), {}, Taxis::of(n));
}
Block footnote(std::optional<std::string> onym, Blocks children) {
    return para("^", true, std::move(children), Suffix{std::move(onym), {}});
}
Block fenced(std::string text, std::vector<std::string> genoses = {}) {
    return Block::MonadEnlexis{std::move(text), Suffix{std::nullopt, std::move(genoses)}};
}
Block media(std::string param) { return Block::Enmedia{std::move(param)}; }

// Appends piece by piece: "literal" + string trips a false -Wrestrict of
// g++ 12 at -O3.
void append(std::string& out, const auto&... parts) { ((out += parts), ...); }

// A one-line sketch of a tree for failure messages.
std::string describe(const Inlines& inlines);
std::string describe(const Blocks& blocks) {
    std::string out;
    for (const Block& block : blocks) {
        if (const auto* p = std::get_if<Block::Paragraph>(&block.node)) {
            append(out, 'P', describe(p->inlines));
        } else if (const auto* p = std::get_if<Block::Para>(&block.node)) {
            append(out, "Para ", p->symbol);
            if (p->taxis.state == Taxis::State::Number) out += std::to_string(p->taxis.number);
            if (p->suffix.onym) append(out, '(', *p->suffix.onym, ')');
            append(out, '{', describe(p->children), '}');
        } else if (const auto* m = std::get_if<Block::MonadEnlexis>(&block.node)) {
            append(out, "Code'", m->text, '\'');
            for (const std::string& genos : m->suffix.genoses) append(out, '.', genos);
        } else if (const auto* m = std::get_if<Block::Enmedia>(&block.node)) {
            append(out, "Media'", m->param, '\'');
        }
        out += " ";
    }
    return out;
}
std::string describe(const Inlines& inlines) {
    std::string out = "[";
    for (const Inline& item : inlines) {
        if (const auto* t = std::get_if<Inline::Text>(&item.node)) {
            append(out, '\'', t->text, '\'');
        } else if (const auto* e = std::get_if<Inline::EndoSimmere>(&item.node)) {
            append(out, e->symbol, describe(e->children));
        } else if (const auto* l = std::get_if<Inline::Enlexis>(&item.node)) {
            append(out, '`', l->text, '`');
        } else if (const auto* d = std::get_if<Inline::Deixis>(&item.node)) {
            append(out, "^(", d->target, ')');
        }
        out += " ";
    }
    return out + "]";
}

struct Case {
    std::string markdown;
    Blocks blocks;
};

void expect_blocks(const Case& c) {
    const Document document = import_markdown(c.markdown);
    EXPECT_EQ(document.dialektos, "il-markdown");
    EXPECT_EQ(document.version, std::nullopt);
    EXPECT_TRUE(document.blocks == c.blocks)
        << c.markdown << "\n got: " << describe(document.blocks)
        << "\nwant: " << describe(c.blocks);
}

TEST(MarkdownImport, Blocks) {
    const Case cases[] = {
        {"", {}},
        {"\n  \n\t\n", {}},
        {"a\nb", {paragraph({text("a b")})}},
        {"a\r\n  b  \r\n\r\nc", {paragraph({text("a   b  ")}), paragraph({text("c")})}},
        // Fences: info string as a genos, text up to the closer or the end.
        {"```\n", {fenced("\n")}},
        {"``` Python \nx = 1\n\n```  \nafter",
         {fenced("x = 1\n\n", {"python"}), paragraph({text("after")})}},
        {"```c++\nx\n", {fenced("x\n")}},  // no valid genos: none
        {"````\n````\n```", {fenced("````\n", {})}},  // info "`" is no genos
        {" ```\nx", {paragraph({code(""), text("` x")})}},  // an indented fence is text
        {"```\n ```\n````\n", {fenced(" ```\n````\n")}},
        // Headings.
        {"# One\n###### Six\n####### seven\n#x\n #y",
         {heading(1, {text("One")}), heading(6, {text("Six")}),
          paragraph({text("####### seven #x  #y")})}},
        {"## Title ##", {heading(2, {text("Title ##")})}},
        // Quotes: no lazy continuation, one marker per level.
        {"> a\n> b\nc", {quote({paragraph({text("a b")})}), paragraph({text("c")})}},
        {">> x\n>y", {quote({quote({paragraph({text("x")})}), paragraph({text("y")})})}},
        {"> a\n\n> b", {quote({paragraph({text("a")})}), quote({paragraph({text("b")})})}},
        // Items: siblings, bodies by indentation, blank lines kept before an
        // indented line only.
        {"- a\n  b\n- c", {bullet({paragraph({text("a b")})}), bullet({paragraph({text("c")})})}},
        {"- a\n\n  b\n\nc",
         {bullet({paragraph({text("a")}), paragraph({text("b")})}), paragraph({text("c")})}},
        {"- a\n\n\n  b", {bullet({paragraph({text("a")})}), paragraph({text("b")})}},
        {"- a\n  - b", {bullet({paragraph({text("a")}), bullet({paragraph({text("b")})})})}},
        {"- ", {bullet({})}},
        {"7. seven\n3. three\n   more",
         {item(7, {paragraph({text("seven")})}), item(3, {paragraph({text("three more")})})}},
        {"18446744073709551615. max", {item(18446744073709551615u, {paragraph({text("max")})})}},
        {"18446744073709551616. over", {paragraph({text("18446744073709551616. over")})}},
        {"1) x\n* y\n+ z\n---\n===",
         {paragraph({text("1) x * y + z --- ===")})}},  // no other markers, rules or setext
        // Footnotes: the label as onym when it is one.
        {"[^n1]: body\n    more\nSee [^n1].",
         {footnote("n1", {paragraph({text("body more")})}),
          paragraph({text("See "), ref("n1"), text(".")})}},
        {"[^a b]: x", {footnote(std::nullopt, {paragraph({text("x")})})}},
        {"[^]: x\n[^a]:x", {paragraph({text("[^]: x "), ref("a"), text(":x")})}},
        // Image lines.
        {"![](img/a.png)\n![](a b.png)  \n![]()",
         {media("img/a.png"), media("a%20b.png"), media("")}},
        {"![alt](a.png)", {paragraph({text("![alt](a.png)")})}},
        // What joins a paragraph and what ends it.
        {"a\n[^n]: x\n![](i.png)", {paragraph({text("a "), ref("n"), text(": x ![](i.png)")})}},
        {"a\n# h", {paragraph({text("a")}), heading(1, {text("h")})}},
        {"a\n```\nb\n```", {paragraph({text("a")}), fenced("b\n")}},
        {"a\n> q", {paragraph({text("a")}), quote({paragraph({text("q")})})}},
        {"a\n- i", {paragraph({text("a")}), bullet({paragraph({text("i")})})}},
        {"a\n2. i", {paragraph({text("a")}), item(2, {paragraph({text("i")})})}},
        {"a\n-b\n>", {paragraph({text("a -b")}), quote({})}},
    };
    for (const Case& c : cases) expect_blocks(c);
}

TEST(MarkdownImport, Inlines) {
    const Case cases[] = {
        {"\\*a\\* \\q \\", {paragraph({text("*a* \\q \\")})}},
        {"`a * b` `", {paragraph({code("a * b"), text(" `")})}},
        {"``", {paragraph({code("")})}},
        {"*a* **b** * c *", {paragraph({em({text("a")}), text(" "), strong({text("b")}), text(" "),
                                        em({text(" c ")})})}},
        {"**a *b* c**", {paragraph({strong({text("a "), em({text("b")}), text(" c")})})}},
        {"a * b", {paragraph({text("a * b")})}},
        {"**a", {paragraph({text("**a")})}},
        {"**a*", {paragraph({text("*"), em({text("a")})})}},
        {"****", {paragraph({strong({})})}},
        {"_a_", {paragraph({text("_a_")})}},
        {"<https://a.b/c> <a b:c> <x>", {paragraph({link("https://a.b/c"), text(" <a b:c> <x>")})}},
        {"[^1] [^x]y [^ a] [^] [^", {paragraph({ref("1"), text(" "), ref("x"),
                                                 text("y [^ a] [^] [^")})}},
        {"[t](u) [u](u) [ ](u) [t]( ) [t] (u) [t](u", {paragraph({
                                                           text("t"), text(" ("), link("u"),
                                                           text(")"), text(" "), link("u"),
                                                           text(" "), link("u"), text(" "),
                                                           text("t"), text(" [t] (u) [t](u"),
                                                       })}},
        {"[ *t* ]( u )", {paragraph({em({text("t")}), text(" "), text(" ("), link("u"),
                                     text(")")})}},
        {"![t](u) [a [b](c)", {paragraph({text("![t](u) "), text("a [b"), text(" ("), link("c"),
                                          text(")")})}},
        {"[^x](u)", {paragraph({ref("x"), text("(u)")})}},
    };
    for (const Case& c : cases) expect_blocks(c);
}

// What the importer builds must parse back to itself once written: values
// the parser refuses, and texts the writer cannot put down as they are, are
// built so that they can.
TEST(MarkdownImport, OutputStaysWritable) {
    const Case cases[] = {
        // A paragraph line loses its leading white space and a blank line is
        // no paragraph.
        {"  a", {paragraph({text("a")})}},
        {"[ a]() b", {paragraph({text("a"), text(" b")})}},
        {"[]()", {}},
        {"[ ]()", {}},
        {"a\r\r\n", {paragraph({text("a")})}},
        // An empty heading, and a heading whose text begins with "#", keep
        // apart from the opener.
        {"# ", {heading(1, {text(" ")})}},
        {"## #tag", {heading(2, {text(" #tag")})}},
        {"###### #six\n###### ", {heading(6, {text("#six")}), heading(6, {})}},
        // Literal text holding a closer of its form.
        {"`a\"@@b`", {paragraph({code("a\""), code("@@b")})}},
        {"```\nx\n  \"@@@ y\n```",
         {fenced("x\n"), paragraph({code("  \""), code("@@@ y")})}},
        {"```\nx\r\r\n```", {fenced("x\n")}},
        // A backslash right before markup would escape its sigil.
        {"\\\\*a*", {paragraph({code("\\"), em({text("a")})})}},
        {"*a\\*", {paragraph({em({text("a\\")})})}},
        // Also at the end of a link text that markup follows.
        {"[t\\\\]()*a*", {paragraph({text("t"), code("\\"), em({text("a")})})}},
        {"[t\\\\](u)*a*", {paragraph({text("t\\"), text(" ("), link("u"), text(")"), em({text("a")})})}},
        // The parser reads the written text in NFC, also where two texts
        // side by side meet.
        {"e\xCC\x81 `e\xCC\x81`", {paragraph({text("\xC3\xA9 "), code("\xC3\xA9")})}},
        {"e[\xCC\x81 x](u)", {paragraph({text("\xC3\xA9 x"), text(" ("), link("u"), text(")")})}},
    };
    for (const Case& c : cases) expect_blocks(c);
}

using testing::repeated;

// Follows the only block of each level down to the first list that is not a
// single Para; `depth` counts the levels passed.
const Blocks& innermost(const Blocks& blocks, std::size_t& depth) {
    const Blocks* level = &blocks;
    depth = 0;
    while (level->size() == 1 && level->front().kind() == BlockKind::Para) {
        level = &std::get<Block::Para>(level->front().node).children;
        ++depth;
    }
    return *level;
}

// Quotes, items and footnotes nested deeper than 256 levels read as text, in
// linear time: a level strips its markers from its own lines, copying none.
TEST(MarkdownImport, DeepNestingReadsAsText) {
    const std::string quotes(50'000, '>');
    const std::string deeper(50'000 - 256, '>');
    struct DeepCase {
        std::string markdown;
        std::string innermost_text;
    };
    const DeepCase cases[] = {
        {quotes + " x\n" + quotes, deeper + " x " + deeper},
        {repeated("- ", 50'000) + "x", repeated("- ", 50'000 - 256) + "x"},
        {repeated("1. ", 50'000) + "x", repeated("1. ", 50'000 - 256) + "x"},
        {repeated("[^a b]: ", 50'000) + "x", repeated("[^a b]: ", 50'000 - 256) + "x"},
        {repeated("- > ", 20'000), repeated("- > ", 20'000 - 128)},
    };
    for (const DeepCase& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        const Document document = import_markdown(c.markdown);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_LT(elapsed.count(), 1.0) << c.markdown.substr(0, 8);
        std::size_t depth = 0;
        const Blocks& rest = innermost(document.blocks, depth);
        EXPECT_EQ(depth, 256u) << c.markdown.substr(0, 8);
        ASSERT_EQ(rest.size(), 1u) << c.markdown.substr(0, 8);
        EXPECT_TRUE(rest.front() == paragraph({text(c.innermost_text)}))
            << c.markdown.substr(0, 8) << ": " << describe(rest).substr(0, 60);
    }
}

// Unclosed or repeated constructs in one long paragraph: every search for a
// closer goes on from its last answer, so a rescan per construct would show
// as seconds here.
TEST(MarkdownImport, HostileParagraphsTakeLinearTime) {
    const std::string_view pieces[] = {"[", "[a]", "[^", "[a](", "[ ]()", "*", "**a*", "`",
                                       "<a:", "\\", "![", "x \\*y*", "[^[", "**`*", "*[a](b", "**[*"};
    for (const std::string_view piece : pieces) {
        const std::string markdown = repeated(piece, 200'000 / piece.size());
        const auto start = std::chrono::steady_clock::now();
        const Document document = import_markdown(markdown);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_LT(elapsed.count(), 1.0) << piece;
        EXPECT_LE(document.blocks.size(), 1u) << piece;
    }
}

// Every symbol the importer writes is a sim of il-markdown, of the form its
// node needs, with the `mirrored` flag the writer derives its episim from.
TEST(MarkdownImport, SimsAreThoseOfIlMarkdown) {
    const auto dialektos = resolve_from_sources(MemorySource{}, "il-markdown");
    ASSERT_TRUE(dialektos.ok());
    const Document document = import_markdown(
        "# a\n## b\n### c\n#### d\n##### e\n###### f\n> q\n\n- i\n\n1. o\n\n[^n]: f\n\n"
        "*e* **s** <a:b> [t](u) [^n]");
    std::vector<const Blocks*> lists = {&document.blocks};
    std::vector<const Inlines*> runs;
    std::set<std::string> seen;
    const auto expect_sim = [&](const std::string& symbol, bool para, bool mirrored) {
        seen.insert(symbol);
        const auto sim = dialektos->sims.find(symbol);
        ASSERT_NE(sim, dialektos->sims.end()) << symbol;
        EXPECT_EQ(std::holds_alternative<ParaSimmere>(sim->second.form), para) << symbol;
        EXPECT_EQ(sim->second.mirrored, mirrored) << symbol;
    };
    while (!lists.empty()) {
        const Blocks* blocks = lists.back();
        lists.pop_back();
        for (const Block& block : *blocks) {
            if (const auto* p = std::get_if<Block::Para>(&block.node)) {
                expect_sim(p->symbol, true, p->mirrored);
                const auto& form = std::get<ParaSimmere>(dialektos->sims.at(p->symbol).form);
                EXPECT_EQ(form.taxis == Occurrence::Required,
                          p->taxis.state == Taxis::State::Number) << p->symbol;
                lists.push_back(&p->children);
            } else if (const auto* p = std::get_if<Block::Paragraph>(&block.node)) {
                runs.push_back(&p->inlines);
            }
        }
    }
    while (!runs.empty()) {
        const Inlines* inlines = runs.back();
        runs.pop_back();
        for (const Inline& item : *inlines) {
            if (const auto* e = std::get_if<Inline::EndoSimmere>(&item.node)) {
                expect_sim(e->symbol, false, e->mirrored);
                runs.push_back(&e->children);
            } else if (const auto* d = std::get_if<Inline::Deixis>(&item.node)) {
                seen.insert(d->symbol);
                EXPECT_TRUE(std::holds_alternative<ParaSimmere>(dialektos->sims.at(d->symbol).form));
            }
        }
    }
    EXPECT_EQ(seen.size(), dialektos->sims.size());  // all 13 in use
}

// What the parser would refuse or read differently once the writer has put a
// tree down, found anywhere in it; empty when the tree is writable.
class WritabilityCheck {
public:
    std::string problems(const Blocks& blocks) {
        found_.clear();
        walk(blocks, 0);
        return found_;
    }

private:
    void note(const std::string& what) { found_ += what + "; "; }

    void walk(const Blocks& blocks, std::size_t depth) {
        if (depth > 256) note("nested deeper than 256");
        for (const Block& block : blocks) {
            if (const auto* p = std::get_if<Block::Paragraph>(&block.node)) {
                paragraph(p->inlines);
            } else if (const auto* p = std::get_if<Block::Para>(&block.node)) {
                if (p->suffix.onym && !is_valid_onym(*p->suffix.onym)) note("onym");
                walk(p->children, depth + 1);
            } else if (const auto* m = std::get_if<Block::MonadEnlexis>(&block.node)) {
                for (const std::string& genos : m->suffix.genoses) {
                    if (!is_valid_genos(genos)) note("genos");
                }
                std::size_t start = 0;
                while (start < m->text.size()) {
                    std::size_t end = m->text.find('\n', start);
                    if (end == std::string::npos) end = m->text.size();
                    const std::string_view line = std::string_view(m->text).substr(start, end - start);
                    if (unicode::trim_start(line).starts_with("\"@@@")) note("closing line");
                    if (line.ends_with('\r')) note("carriage return");
                    start = end + 1;
                }
            } else if (const auto* m = std::get_if<Block::Enmedia>(&block.node)) {
                for (const char b : m->param) {
                    if (b == ' ' || b == '\t' || b == '\n' || b == '\r') note("parameter");
                }
            }
        }
    }

    void paragraph(const Inlines& inlines) {
        if (inlines.empty()) return note("empty paragraph");
        if (const auto* t = std::get_if<Inline::Text>(&inlines.front().node)) {
            if (unicode::trim_start(t->text).size() != t->text.size()) note("leading white space");
        }
        if (const auto* t = std::get_if<Inline::Text>(&inlines.back().node)) {
            if (t->text.ends_with('\r')) note("trailing carriage return");
        }
        if (const auto* e = std::get_if<Inline::EndoSimmere>(&inlines.front().node)) {
            if (e->symbol.starts_with('#') && e->symbol.size() < 6) {
                if (e->children.empty()) note("empty heading");
                const auto* t = e->children.empty()
                                    ? nullptr
                                    : std::get_if<Inline::Text>(&e->children.front().node);
                if (t != nullptr && t->text.starts_with('#')) note("heading runs on");
            }
        }
        run(inlines);
    }

    void run(const Inlines& inlines) {
        for (std::size_t i = 0; i < inlines.size(); ++i) {
            const Inline& item = inlines[i];
            if (const auto* t = std::get_if<Inline::Text>(&item.node)) {
                if (t->text.empty()) note("empty text");
                if (t->text.ends_with('\\') && i + 1 < inlines.size() &&
                    inlines[i + 1].kind() != InlineKind::Text) {
                    note("backslash before markup");
                }
                if (t->text.find('\n') != std::string::npos) note("line feed");
            } else if (const auto* e = std::get_if<Inline::EndoSimmere>(&item.node)) {
                run(e->children);
            } else if (const auto* l = std::get_if<Inline::Enlexis>(&item.node)) {
                if (l->text.find("\"@@") != std::string::npos) note("enlexis closer");
            } else if (const auto* d = std::get_if<Inline::Deixis>(&item.node)) {
                if (!is_valid_onym(d->target)) note("deixis target");
            }
        }
    }

    std::string found_;
};

TEST(MarkdownImport, RandomInputGivesWritableTrees) {
    const std::string_view alphabet[] = {
        "#", "# ", ">", "> ", "- ", "1. ", "[^", "]: ", "[", "]", "(", ")", "![](", "*", "**", "`",
        "```", "<", ">", "a:b", "\\", " ", "  ", "    ", "\n", "\n\n", "\r", "\"@@", "\"@@@",
        "@", "|", "x", "Py", "\u00A0", "\t", "^"};
    std::mt19937 random(5);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 1);
    std::uniform_int_distribution<int> length(1, 40);
    WritabilityCheck check;
    for (int round = 0; round < 20'000; ++round) {
        std::string markdown;
        for (int n = length(random); n > 0; --n) markdown += alphabet[pick(random)];
        const std::string problems = check.problems(import_markdown(markdown).blocks);
        ASSERT_EQ(problems, "") << "input: " << markdown;
    }
}

}  // namespace
}  // namespace ilvex
