#include <gtest/gtest.h>

#include <random>

#include "definition_testing.hpp"
#include "dialektos/definition_parser.hpp"

namespace ilvex {
namespace {

using testing::outcome;
using testing::parse;
using testing::TextSource;

struct Case {
    const char* text;
    const char* expected;  // the error text, or "ok"
};

void expect_outcomes(std::initializer_list<Case> cases, const DefinitionSource& source = TextSource()) {
    for (const Case& c : cases) EXPECT_EQ(outcome(c.text, source), c.expected) << c.text;
}

TEST(DefinitionDeclaration, MessagesAndLines) {
    const char* missing1 = "t.dia:1:1: missing dialektos declaration on the first content line";
    const char* missing2 = "t.dia:2:1: missing dialektos declaration on the first content line";
    expect_outcomes({
        {"", missing1},
        {"\n@@@!ilvex\n", missing1},
        {"ilvex", missing1},
        {"@@!ilvex", missing1},
        {"#!/usr/bin/env ilvex", missing2},
        {"#!/usr/bin/env ilvex\n", missing2},
        {"#!x\n\n@@@!ilvex", missing2},
        {"#!x\n@@@!ilvex", "ok"},
        {"#\n@@@!ilvex", missing1},
        {"@@@!ilvex", "ok"},
        {"  @@@!ilvex \r\n", "ok"},
        {"@@@!ilvex@0.3 anything", "ok"},
        {"\\\\\\!ilvex@2", "ok"},
        {"@@@!ilvex 0.3",
         "t.dia:1:1: invalid dialektos definition: definition files must declare the `ilvex` meta-dialektos, "
         "found `ilvex 0.3`"},
        {"@@@! ilvex",
         "t.dia:1:1: invalid dialektos definition: definition files must declare the `ilvex` meta-dialektos, "
         "found ` ilvex`"},
        {"#!x\n@@@!koine",
         "t.dia:2:1: invalid dialektos definition: definition files must declare the `ilvex` meta-dialektos, "
         "found `koine`"},
    });
}

TEST(DefinitionDispatch, CommentsAndUnexpectedLines) {
    expect_outcomes({
        {"@@@!ilvex\n\n  @@/ a line comment\n\t\n", "ok"},
        {"@@@!ilvex\n@@@/ one line /@@@\n", "ok"},
        {"@@@!ilvex\n@@@//@@@\n", "ok"},
        {"@@@!ilvex\n@@@/ spread\nover = lines\n  and /@@@  \r\n@@/ after", "ok"},
        {"@@@!ilvex\n@@@/@@@\nhidden\n/@@@", "ok"},
        {"@@@!ilvex\n\n@@@/ never closed\nx\n", "t.dia:3:1: unmatched sim `@@@/` (episim not found)"},
        {"@@@!ilvex\nhello", "t.dia:2:1: invalid dialektos definition: unexpected line: `hello`"},
        {"@@@!ilvex\n   @ x  \r", "t.dia:2:1: invalid dialektos definition: unexpected line: `@ x`"},
        {"@@@!ilvex\n@==%v\n", "t.dia:2:1: invalid dialektos definition: unexpected line: `@==%v`"},
        {"@@@!ilvex\n@===s\n", "t.dia:2:1: invalid dialektos definition: unexpected line: `@===s`"},
        // Keywords are spelled with the declared sigil.
        {"\\\\\\!ilvex\n\\\\/ a comment\n\\\\\\/ block /\\\\\\", "ok"},
        {"\\\\\\!ilvex\n@@/ x", "t.dia:2:1: invalid dialektos definition: unexpected line: `@@/ x`"},
        {"\\\\\\!ilvex\n\\\\\\/ open", "t.dia:2:1: unmatched sim `\\\\\\/` (episim not found)"},
        {"@@@!ilvex\n\\\\/ x", "t.dia:2:1: invalid dialektos definition: unexpected line: `\\\\/ x`"},
    });
}

std::string vocabulary_text(std::initializer_list<const char*> lines) {
    std::string text = "@@@!ilvex\n";
    for (const char* line : lines) text += std::string(line) + "\n";
    return text;
}

TEST(DefinitionVocabulary, ReadsTermsAndAliases) {
    const auto d = parse(vocabulary_text({
        "@==% kinds ",
        "  book: libro  livre libro",
        "",
        "article:",
        ": nothing",
        "note: a:b",
        "%==@",
        "@==% kinds",
        "book: buch",
        "essay: versuch",
        "%==@",
        "@==% empty",
        "%==@",
    }));
    ASSERT_TRUE(d) << error_message(d.error());
    const Vocabulary expected = {
        {"", {"nothing"}},
        {"article", {}},
        {"book", {"buch", "libro", "livre"}},
        {"essay", {"versuch"}},
        {"note", {"a:b"}},
    };
    EXPECT_EQ(d->vocabularies.at("kinds"), expected);
    EXPECT_TRUE(d->vocabularies.at("empty").empty());
    EXPECT_EQ(d->vocabularies.size(), 2u);
}

TEST(DefinitionVocabulary, MessagesAndLines) {
    expect_outcomes({
        {"@@@!ilvex\n@==% v\nno colon here\n%==@",
         "t.dia:3:1: invalid dialektos definition: vocabulary `v`: malformed line `no colon here`"},
        {"@@@!ilvex\n@==% v\na: x\n", "t.dia:4:1: invalid dialektos definition: unterminated vocabulary `v`"},
        {"@@@!ilvex\n@==% v\na: x", "t.dia:3:1: invalid dialektos definition: unterminated vocabulary `v`"},
        // Inside a block a comment is an ordinary (here: malformed) line.
        {"@@@!ilvex\n@==% v\n@@/ note\n%==@",
         "t.dia:3:1: invalid dialektos definition: vocabulary `v`: malformed line `@@/ note`"},
        {"@@@!ilvex\n@==% v\nb: x\na: y x\n\n%==@\n",
         "t.dia:6:1: invalid dialektos definition: vocabulary `v`: alias `x` is claimed by both `a` and `b`"},
        // The first conflict in byte order of terms, then of aliases.
        {"@@@!ilvex\n@==% v\nc: y z\nb: z\na: y\nd: y\n%==@",
         "t.dia:7:1: invalid dialektos definition: vocabulary `v`: alias `y` is claimed by both `a` and `c`"},
        {"@@@!ilvex\n@==% v\nc: q p\na: p q\n%==@",
         "t.dia:5:1: invalid dialektos definition: vocabulary `v`: alias `p` is claimed by both `a` and `c`"},
        // A term may equal another term's alias.
        {"@@@!ilvex\n@==% v\na: b\nb: c\n%==@", "ok"},
        // Continued vocabularies are checked as a whole at each closing line.
        {"@@@!ilvex\n@==% v\nb: x\n%==@\n@==% w\na: x\n%==@\n@==% v\nb: y\n%==@", "ok"},
        {"@@@!ilvex\n@==% v\nb: x\n%==@\n@==% v\na: x\n%==@",
         "t.dia:7:1: invalid dialektos definition: vocabulary `v`: alias `x` is claimed by both `a` and `b`"},
        {"@@@!ilvex\n@==% v\na: x\n%==@\n@==% v\nc: y\nb: x\n%==@",
         "t.dia:8:1: invalid dialektos definition: vocabulary `v`: alias `x` is claimed by both `a` and `b`"},
        {"@@@!ilvex\n@==% v\na: x\nb: y\n%==@\n@==% v\nc: y x\nd: x\n%==@",
         "t.dia:9:1: invalid dialektos definition: vocabulary `v`: alias `x` is claimed by both `a` and `c`"},
        {"@@@!ilvex\n@==% v\na: x\n%==@\n@==% v\na: x\n%==@", "ok"},
        {"\\\\\\!ilvex\n\\==% v\na: x\n%==\\", "ok"},
        {"\\\\\\!ilvex\n\\==% v\na: x\n%==@\n",
         "t.dia:4:1: invalid dialektos definition: vocabulary `v`: malformed line `%==@`"},
    });
}

// Checking only what a continued block adds must report what a check of the
// whole vocabulary reports. The reference below is that whole check.
std::string whole_vocabulary_check(const std::string& name, const Vocabulary& vocabulary) {
    std::map<std::string, std::string> owner;
    for (const auto& [term, aliases] : vocabulary) {
        for (const auto& alias : aliases) {
            const auto [it, inserted] = owner.emplace(alias, term);
            if (!inserted && it->second != term) {
                return "vocabulary `" + name + "`: alias `" + alias + "` is claimed by both `" + it->second +
                       "` and `" + term + "`";
            }
        }
    }
    return "";
}

TEST(DefinitionVocabulary, ContinuedBlocksReportWhatAWholeCheckReports) {
    std::mt19937 random(12);
    auto pick = [&](int n) { return std::string(1, static_cast<char>('a' + random() % n)); };
    for (int round = 0; round < 400; ++round) {
        std::string text = "@@@!ilvex\n";
        Vocabulary whole;
        std::string expected = "ok";
        std::size_t line = 1;
        for (int block = 0; block < 4 && expected == "ok"; ++block) {
            text += "@==% v\n";
            ++line;
            for (int entry = 0; entry < 3; ++entry) {
                const std::string term = pick(6);
                const std::string alias = pick(8);
                text += term + ": " + alias + "\n";
                whole[term].insert(alias);
                ++line;
            }
            text += "%==@\n";
            ++line;
            const std::string message = whole_vocabulary_check("v", whole);
            if (!message.empty()) {
                expected = "t.dia:" + std::to_string(line) + ":1: invalid dialektos definition: " + message;
            }
        }
        ASSERT_EQ(outcome(text), expected) << text;
    }
}

TEST(DefinitionVocabulary, ManyContinuedBlocksStayFast) {
    std::string text = "@@@!ilvex\n";
    for (int i = 0; i < 20000; ++i) text += "@==% v\nt" + std::to_string(i) + ": a" + std::to_string(i) + "\n%==@\n";
    const auto d = parse(text);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->vocabularies.at("v").size(), 20000u);
}

// A parent dialektos with one sim of each form and a vocabulary.
const char* parent_text =
    "@@@!ilvex\n"
    "@=== alpha\n@* grammata *@\n===@\n"
    "@=== beta\n@# lemma=kinds\ngrammata\n#@\n@% kinds\n===@\n"
    "@=== gamma\n@~(n)\n===@\n"
    "@==% kinds\na: b\n%==@\n";

TextSource import_source() {
    return TextSource({
        {"p.dia", parent_text},
        {"q.dia", "@@@!ilvex\n@=== other\n@* grammata *@\n===@\n"},
        {"plain.dia", "@@@!ilvex\n@=== open\n@< grammata <@\n===@\n@=== block\n@=\ngrammata\n=@\n===@\n"
                      "@=== lemmatic\n@# lemma=grammata $@\ngrammata\n#@\n===@\n"},
        {"broken.dia", "@@@!ilvex\n\n\n\noops\n"},
        {"middle.dia", "@@@!ilvex\n@@/ imports the broken one\n@@:: broken\n"},
        {"a.dia", "@@@!ilvex\n@@:: b\n"},
        {"b.dia", "@@@!ilvex\n\n@@:: a\n"},
        {"both.lektos", "@@@!ilvex\n@=== canonical\n@! grammata !@\n===@\n"},
        {"both.dia", "@@@!ilvex\n@=== working\n@? grammata ?@\n===@\n"},
    });
}

std::vector<std::string> symbols_of(const Dialektos& d) {
    std::vector<std::string> symbols;
    for (const auto& entry : d.sims) symbols.push_back(entry.first);
    return symbols;
}

TEST(DefinitionImports, Selections) {
    const TextSource source = import_source();
    struct Selection {
        const char* line;
        std::vector<std::string> symbols;
        ImportSelection selection;
    };
    const std::vector<Selection> cases = {
        {"@@:: p", {"#", "*", "~"}, SelectAll{}},
        {"@@::p@1.2", {"#", "*", "~"}, SelectAll{}},
        {"@@:: p :-: [#]", {"*", "~"}, SelectExclude{{"#"}}},
        {"@@:: p :-: [ # nosuch # ]", {"*", "~"}, SelectExclude{{"#", "nosuch", "#"}}},
        {"@@:: p :-: []", {"#", "*", "~"}, SelectExclude{{}}},
        {"@@:: p :: [~ *]", {"*", "~"}, SelectOnly{{"~", "*"}}},
        {"@@:: p :: #", {"#"}, SelectOne{"#", std::nullopt}},
        {"@@:: p ::   #   ##  ", {"##"}, SelectOne{"#", "##"}},
        {"@@:: p@2 :: * :-: [#]", {"*", "~"}, SelectExclude{{"#"}}},
    };
    for (const Selection& c : cases) {
        const auto d = parse(std::string("@@@!ilvex\n") + c.line + "\n", source);
        ASSERT_TRUE(d) << c.line << ": " << error_message(d.error());
        EXPECT_EQ(symbols_of(*d), c.symbols) << c.line;
        ASSERT_EQ(d->imports.size(), 1u);
        EXPECT_EQ(d->imports[0].dialektos, "p");
        EXPECT_EQ(d->imports[0].selection, c.selection) << c.line;
        // Imports never bring vocabularies, but sims keep the names they use.
        EXPECT_TRUE(d->vocabularies.empty());
    }
    const auto renamed = parse("@@@!ilvex\n@@:: p :: # ##\n", source);
    ASSERT_TRUE(renamed);
    const SimDef& sim = renamed->sims.at("##");
    EXPECT_EQ(sim.symbol, "##");
    EXPECT_EQ(sim.name, "beta");
    EXPECT_EQ(sim.lemma_vocabulary, "kinds");
    EXPECT_EQ(sim.genos_vocabulary, "kinds");
}

TEST(DefinitionImports, RecordsEveryLineInOrder) {
    const auto both = parse("\\\\\\!ilvex\n\\\\:: p :: [*]\n\\\\:: p :: # +\n", import_source());
    ASSERT_TRUE(both) << error_message(both.error());
    ASSERT_EQ(both->imports.size(), 2u);
    EXPECT_EQ(both->imports[0].selection, ImportSelection(SelectOnly{{"*"}}));
    EXPECT_EQ(both->imports[1].selection, ImportSelection(SelectOne{"#", "+"}));
    EXPECT_EQ(symbols_of(*both), (std::vector<std::string>{"*", "+"}));
}

TEST(DefinitionImports, MessagesAtTheImportLine) {
    expect_outcomes(
        {
            {"@@@!ilvex\n\n@@:: p :: [~ q]", "t.dia:3:1: undefined sim `q`"},
            {"@@@!ilvex\n@@:: p :: [* *]", "t.dia:2:1: conflicting definitions for sim symbol `*`"},
            {"@@@!ilvex\n@@:: p :: # ## ###", "t.dia:2:1: invalid dialektos definition: malformed import: `# ## ###`"},
            {"@@@!ilvex\n@@:: p ::", "t.dia:2:1: undefined sim ``"},
            {"@@@!ilvex\n@@:: p :: a", "t.dia:2:1: undefined sim `a`"},
            {"@@@!ilvex\n@@:: p :-:", "t.dia:2:1: invalid dialektos definition: expected `[sym ...]`, found ``"},
            {"@@@!ilvex\n@@:: p :-: [#", "t.dia:2:1: invalid dialektos definition: expected `[sym ...]`, found `[#`"},
            {"@@@!ilvex\n@@:: p :: [", "t.dia:2:1: invalid dialektos definition: expected `[sym ...]`, found `[`"},
            {"@@@!ilvex\n@@:: p\n@@:: q", "t.dia:3:1: conflicting definitions for sim symbol `*`"},
            {"@@@!ilvex\n@@:: p\n@=== mine\n@~ grammata ~@\n===@",
             "t.dia:3:1: conflicting definitions for sim symbol `~`"},
            {"@@@!ilvex\n@=== mine\n@~ grammata ~@\n===@\n@@:: p",
             "t.dia:5:1: conflicting definitions for sim symbol `~`"},
            {"@@@!ilvex\n@@:: nosuch :: [x", "t.dia:2:1: cannot resolve dialektos `nosuch`: no local .lektos/.dia file"},
            {"@@@!ilvex\n@@:: p @1", "t.dia:2:1: cannot resolve dialektos `p `: no local .lektos/.dia file"},
            // An error anywhere below an import is placed at the importing line
            // of the outermost text.
            {"@@@!ilvex\n\n@@:: middle", "t.dia:3:1: invalid dialektos definition: unexpected line: `oops`"},
            {"@@@!ilvex\n@@:: a",
             "t.dia:2:1: transclusion cycle through dialektos inheritance cycle through `a`"},
            {"@@@!ilvex\n@@:: t", "t.dia:2:1: transclusion cycle through dialektos inheritance cycle through `t`"},
        },
        import_source());
}

TEST(DefinitionImports, PrefersTheCanonicalFile) {
    const auto d = parse("@@@!ilvex\n@@:: both", import_source());
    ASSERT_TRUE(d);
    EXPECT_EQ(symbols_of(*d), std::vector<std::string>{"!"});
}

TEST(DefinitionImports, NewSymbolsMustBeDefinable) {
    const TextSource source = import_source();
    const char* malformed = "t.dia:2:1: invalid dialektos definition: malformed import: ";
    for (const char* tail : {"* b", "* *b", "* {", "* }*", "* *@", "* \\"}) {
        EXPECT_EQ(outcome(std::string("@@@!ilvex\n@@:: p :: ") + tail, source),
                  std::string(malformed) + "`" + tail + "`")
            << tail;
    }
    // A block sim without taxis or lemma would read as a monosim under a
    // symbol that ends in "(-)"; one whose lemma vocabulary ends in the new
    // episim would read as an endo-simmere.
    EXPECT_EQ(outcome("@@@!ilvex\n@@:: plain :: = #(-)", source), std::string(malformed) + "`= #(-)`");
    EXPECT_EQ(outcome("@@@!ilvex\n@@:: plain :: # $", source), std::string(malformed) + "`# $`");
    for (const char* tail : {"= #(-)=", "= (", "# $$", "< «»", "< ()"}) {
        EXPECT_EQ(outcome(std::string("@@@!ilvex\n@@:: plain :: ") + tail, source), "ok") << tail;
    }
    // A flag that cannot be seen under the new symbol is stored as a sim block
    // would read it.
    const auto d = parse("@@@!ilvex\n@@:: plain :: < -\n@@:: plain :: < >\n", source);
    ASSERT_TRUE(d) << error_message(d.error());
    EXPECT_TRUE(d->sims.at("-").mirrored);
    EXPECT_FALSE(d->sims.at(">").mirrored);
    // A tail that begins with "[" is a list, so "[" itself cannot be renamed.
    EXPECT_EQ(outcome("@@@!ilvex\n@@:: plain :: [ x", source),
              "t.dia:2:1: invalid dialektos definition: expected `[sym ...]`, found `[ x`");
}

}  // namespace
}  // namespace ilvex
