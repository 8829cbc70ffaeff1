#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <initializer_list>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "dendron/outline.hpp"
#include "dialektos/sim_lookup.hpp"
#include "dialektos/unicode.hpp"
#include "dialektos/lines.hpp"
#include "test_dialektos.hpp"

namespace ilvex {

void PrintTo(const OutlineEntry& entry, std::ostream* out) {
    *out << "{" << entry.key << ", " << entry.line << "}";
}

void PrintTo(const OutlineBlock& block, std::ostream* out) {
    *out << "{" << block.kind << " " << block.symbol.value_or("-") << " " << block.name.value_or("-")
         << " depth " << block.depth << " lines " << block.start << "-" << block.end << " lemma '"
         << block.lemma << "' onym " << block.onym.value_or("-") << " genoses";
    for (const std::string& genos : block.genoses) *out << " " << genos;
    *out << "}";
}

namespace {

using Text = Inline::Text;
using Milestone = Inline::Milestone;
using OnymAnchor = Inline::OnymAnchor;
using Deixis = Inline::Deixis;

// "#" is also called "abschnitt" in German; "%" and "%%" share the name "dup",
// which therefore addresses neither.
Dialektos outline_dialektos() {
    Dialektos dialektos = test::make_dialektos(
        "test", {test::para_sim("section", "#"), test::para_sim("subsection", "##"),
                 test::para_sim("title", "="), test::para_sim("dup", "%"), test::para_sim("dup", "%%"),
                 test::para_sim("paragraph", "§"), test::endo_sim("emphasis", "*")});
    dialektos.glossae["de"] = {{"#", "abschnitt"}};
    return dialektos;
}

std::string text_of(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) text.append(line).push_back('\n');
    return text;
}

// A record as the block parser makes it; the arguments in the order of the
// outline block's fields.
OutlineRecord record(std::string_view kind, std::optional<std::string> symbol,
                     std::optional<std::string> name, std::uint64_t depth, std::uint64_t start,
                     std::uint64_t end, std::string lemma = "", std::optional<std::string> onym = std::nullopt,
                     std::vector<std::string> genoses = {}) {
    OutlineRecord record;
    record.kind = kind;
    record.symbol = std::move(symbol);
    record.name = std::move(name);
    record.depth = depth;
    record.start = start;
    record.end = end;
    record.lemma = std::move(lemma);
    record.onym = std::move(onym);
    record.genoses = std::move(genoses);
    return record;
}

Inline::EndoSimmere emphasis(std::string word, std::optional<std::string> onym = std::nullopt) {
    return {"*", {Text{std::move(word)}}, Suffix{std::move(onym), {}}, true};
}

TEST(Outline, NestedBlocksWithReferencesOnSeveralLines) {
    const std::string text = text_of({
        "@@@!test",                         // 1
        "",                                 // 2
        "@#(1) Intro @*to*@ it",            // 3
        "Text with @(\"page:1\") and @(a1).",  // 4
        "",                                 // 5
        "@@@= Song",                        // 6
        "a line @*word*@(w1)",              // 7
        "",                                 // 8
        "see @#(intro) here",               // 9
        "=@@@",                             // 10
        "#@(intro).major Coda",             // 11
        "",                                 // 12
        "@@@.",                             // 13
        "@(\"page:2\")",                    // 14
        ".@@@(wrap)",                       // 15
    });
    Block::Stichoi song;
    song.symbol = std::nullopt;
    song.lemma = {Text{"Song"}};
    song.strophes = {{{Text{"a line "}, emphasis("word", "w1")}},
                     {{Text{"see "}, Deixis{"#", "intro", {}}, Text{" here"}}}};
    Block::Para section;
    section.symbol = "#";
    section.lemma = {Text{"Intro "}, emphasis("to"), Text{" it"}};
    section.children = {
        Block::Paragraph{
            {Text{"Text with "}, Milestone{"page", "1", {}}, Text{" and "}, OnymAnchor{"a1"}, Text{"."}}},
        song};
    section.hypograph = {Text{"Coda"}};
    section.suffix = {"intro", {"major"}};
    section.taxis = Taxis::of(1);
    const Block::Diaphane wrap{{Block::Paragraph{{Milestone{"page", "2", {}}}}}, Suffix{"wrap", {}}};
    const Document document{"test", std::nullopt, {section, wrap}};
    const OutlineRecords records{
        record("stichoi", std::nullopt, std::nullopt, 1, 6, 10, "Song"),
        record("para", "#", "section", 0, 3, 11, "Intro to it", "intro", {"major"}),
        record("diaphane", std::nullopt, std::nullopt, 0, 13, 15, "", "wrap"),
    };

    const Outline outline = build_outline(document, records, text, outline_dialektos());

    EXPECT_EQ(outline.dialektos, "test");
    EXPECT_EQ(outline.blocks, (OutlineRecords{
                                  {"para", "#", "section", 0, 3, 11, "Intro to it", "intro", {"major"}},
                                  {"stichoi", std::nullopt, std::nullopt, 1, 6, 10, "Song", std::nullopt, {}},
                                  {"diaphane", std::nullopt, std::nullopt, 0, 13, 15, "", "wrap", {}},
                              }));
    EXPECT_EQ(outline.milestones, (std::vector<OutlineEntry>{{"page:1", 4}, {"page:2", 14}}));
    EXPECT_EQ(outline.onyms, (std::vector<OutlineEntry>{{"intro", 11}, {"wrap", 15}, {"a1", 4}, {"w1", 7}}));
    EXPECT_EQ(outline.deixes, (std::vector<OutlineEntry>{{"#(intro)", 9}}));
}

// The block inside the Englossis was parsed against "other", which calls "="
// "heading"; the declared dialektos calls it "title". The para-axioma body is
// not walked, so the cursor passes its milestone and finds the later one.
TEST(Outline, EnglossisParaAxiomaAndPlerographicDeixis) {
    const std::string text = text_of({
        "@@@!test",                               // 1
        "@@@!(other)",                            // 2
        "@= Title",                               // 3
        "body @(\"page:3\")",                     // 4
        "=@",                                     // 5
        "!@@@(g1)",                               // 6
        "",                                       // 7
        "@@@:",                                   // 8
        "@## Hidden",                             // 9
        "@(\"page:4\") @(hidden)",                // 10
        "##@",                                    // 11
        ":@@@(ax)",                               // 12
        "",                                       // 13
        "@{abschnitt}(intro) and @(\"page:3\")",  // 14
        "@(\"page:4\")",                          // 15
    });
    Block::Para heading;
    heading.symbol = "=";
    heading.lemma = {Text{"Title"}};
    heading.children = {Block::Paragraph{{Text{"body "}, Milestone{"page", "3", {}}}}};
    Block::Para hidden;
    hidden.symbol = "##";
    hidden.lemma = {Text{"Hidden"}};
    hidden.children = {Block::Paragraph{{Milestone{"page", "4", {}}, Text{" "}, OnymAnchor{"hidden"}}}};
    const Document document{
        "test",
        "1",
        {Block::Englossis{"other", {heading}, Suffix{"g1", {}}}, Block::ParaAxioma{"ax", {hidden}},
         Block::Paragraph{{Deixis{"#", "intro", {}}, Text{" and "}, Milestone{"page", "3", {}}, Text{"\n"},
                           Milestone{"page", "4", {}}}}}};
    const OutlineRecords records{
        record("para", "=", "heading", 1, 3, 5, "Title"),
        record("englossis", "other", std::nullopt, 0, 2, 6, "", "g1"),
        record("para", "##", "subsection", 1, 9, 11, "Hidden"),
    };

    const Outline outline = build_outline(document, records, text, outline_dialektos());

    EXPECT_EQ(outline.blocks, (OutlineRecords{
                                  {"englossis", "other", std::nullopt, 0, 2, 6, "", "g1", {}},
                                  {"para", "=", "heading", 1, 3, 5, "Title", std::nullopt, {}},
                                  {"para", "##", "subsection", 1, 9, 11, "Hidden", std::nullopt, {}},
                              }));
    EXPECT_EQ(outline.milestones, (std::vector<OutlineEntry>{{"page:3", 4}, {"page:3", 14}, {"page:4", 15}}));
    EXPECT_EQ(outline.onyms, (std::vector<OutlineEntry>{{"g1", 6}}));
    EXPECT_EQ(outline.deixes, (std::vector<OutlineEntry>{{"#(intro)", 14}}));
}

TEST(Outline, BlocksSortByStartThenLongestFirstKeepingRecordOrderOnTies) {
    const OutlineRecords records{
        record("para", "#", "section", 1, 5, 5),
        record("para", "##", "subsection", 1, 5, 9),
        record("diaphane", std::nullopt, std::nullopt, 0, 3, 9),
        // A name on an Englossis record names no sim of the outline.
        record("englossis", "other", "stray", 0, 3, 9),
        record("diaphane", std::nullopt, std::nullopt, 0, 1, 2),
    };
    const Outline outline =
        build_outline(Document{"test", std::nullopt, {}}, records, "", outline_dialektos());
    EXPECT_EQ(outline.blocks, (OutlineRecords{
                                  {"diaphane", std::nullopt, std::nullopt, 0, 1, 2, "", std::nullopt, {}},
                                  {"diaphane", std::nullopt, std::nullopt, 0, 3, 9, "", std::nullopt, {}},
                                  {"englossis", "other", std::nullopt, 0, 3, 9, "", std::nullopt, {}},
                                  {"para", "##", "subsection", 1, 5, 9, "", std::nullopt, {}},
                                  {"para", "#", "section", 1, 5, 5, "", std::nullopt, {}},
                              }));
    EXPECT_TRUE(outline.milestones.empty() && outline.onyms.empty() && outline.deixes.empty());
}

// Records keep every field as given: texts of any length (genos sizes on
// either side of each size byte), an empty onym apart from an absent one,
// and each symbol and name once in the table however often it is used.
TEST(OutlineRecords, KeepEveryFieldPacked) {
    const std::string long_lemma(20000, 'l');
    std::vector<std::string> genoses;
    for (std::size_t size : {0, 1, 127, 128, 300, 16383, 16384, 70000}) genoses.emplace_back(size, 'g');
    const std::vector<OutlineBlock> blocks = {
        record("para", "#", "section", 257, 3, 9, long_lemma, "", genoses),
        record("stichoi", std::nullopt, std::nullopt, 0, 4, 5, "", std::nullopt, {}),
        record("para", "#", "section", 1, 6, 6, "T", "o", {"x", ""}),
        record("englossis", "section", std::nullopt, 2, 7, 8),
    };
    OutlineRecords records;
    for (const OutlineBlock& block : blocks) records.push_back(block);
    ASSERT_EQ(records.size(), blocks.size());
    for (std::size_t i = 0; i < blocks.size(); ++i) EXPECT_EQ(records[i], blocks[i]) << i;
    EXPECT_EQ(records.table(), (std::vector<std::string>{"#", "section"}));
}

// Many records with many ties, across the runs the sort merges: the order
// of a stable sort by start line, then longest first.
// Both in the order a parse finishes blocks (inner ones first) and in any
// other.
TEST(OutlineRecords, SortIsStableOverManyRecords) {
    std::mt19937 random(7);
    std::vector<OutlineBlock> shuffled;
    for (std::size_t i = 0; i < 5000; ++i) {
        const std::uint64_t start = random() % 300 + 1;
        shuffled.push_back(record("para", "#", "section", 0, start, start + random() % 4, std::to_string(i)));
    }
    std::vector<OutlineBlock> finished;
    for (std::uint64_t section = 0; section < 2000; ++section) {
        const std::uint64_t first = 10 * section + 1;
        for (std::uint64_t child = 0; child < random() % 4; ++child) {
            finished.push_back(record("stichoi", std::nullopt, std::nullopt, 2, first + 2, first + 3, "inner"));
            finished.push_back(record("para", "##", "subsection", 1, first + 1, first + 4, std::to_string(child)));
        }
        finished.push_back(record("para", "#", "section", 0, first, first + 8, "a"));
        finished.push_back(record("para", "#", "section", 0, first, first + 8, "b"));
    }
    for (std::vector<OutlineBlock> blocks : {shuffled, finished}) {
        OutlineRecords records;
        for (const OutlineBlock& block : blocks) records.push_back(block);
        std::stable_sort(blocks.begin(), blocks.end(), [](const OutlineBlock& a, const OutlineBlock& b) {
            return a.start != b.start ? a.start < b.start : a.end > b.end;
        });
        records.sort_by_lines();
        ASSERT_EQ(records.size(), blocks.size());
        for (std::size_t i = 0; i < blocks.size(); ++i) ASSERT_EQ(records[i], blocks[i]) << i;
    }
}

std::string numbered(std::string_view prefix, std::size_t number) {
    std::string text(prefix);
    text += std::to_string(number);
    return text;
}

// A large outline gives back the records it has read; those after them read
// as they were.
TEST(OutlineRecords, ForgettingTheFirstKeepsTheRest) {
    constexpr std::size_t count = 60000;
    OutlineRecords records;
    records.reserve_for_text(count * 40);
    for (std::size_t i = 0; i < count; ++i) {
        records.push_back(record("para", "#", "section", i % 7, i + 1, i + 2, numbered("lemma ", i),
                                 numbered("o", i), {numbered("g", i % 3)}));
    }
    for (std::size_t from = 0; from < count; from += 4096) {
        records.forget_before(from);
        const OutlineBlock block = records[from + 17];
        EXPECT_EQ(block, record("para", "#", "section", (from + 17) % 7, from + 18, from + 19,
                                numbered("lemma ", from + 17), numbered("o", from + 17),
                                {numbered("g", (from + 17) % 3)}));
    }
}

// An EndoSimmere's onym stands after its children, at its closer.
TEST(Outline, DeeplyNestedSimmeresRecordInnerOnymsFirstWithoutRecursing) {
    constexpr int depth = 100000;
    std::string line;
    for (int i = 0; i < depth; ++i) line += "@*";
    line += "core";
    Inline item = Text{"core"};
    for (int i = depth - 1; i >= 0; --i) {
        const std::string onym = std::string("o").append(std::to_string(i));
        line.append("*@(").append(onym).append(")");
        Inline::EndoSimmere outer{"*", {}, Suffix{onym, {}}, true};
        outer.children.push_back(std::move(item));
        item = std::move(outer);
    }
    Document document{"test", std::nullopt, {Block::Paragraph{}}};
    std::get<Block::Paragraph>(document.blocks[0].node).inlines.push_back(std::move(item));

    const Outline outline = build_outline(document, {}, text_of({"@@@!test", line}), outline_dialektos());

    ASSERT_EQ(outline.onyms.size(), static_cast<std::size_t>(depth));
    EXPECT_EQ(outline.onyms.front(), (OutlineEntry{"o99999", 2}));
    EXPECT_EQ(outline.onyms.back(), (OutlineEntry{"o0", 2}));
    // Take the chain apart from the outside in so the destructors stay shallow.
    std::vector<Inline> list = std::move(std::get<Block::Paragraph>(document.blocks[0].node).inlines);
    while (!list.empty()) {
        Inline top = std::move(list.back());
        list.pop_back();
        if (auto* simmere = std::get_if<Inline::EndoSimmere>(&top.node)) {
            for (Inline& child : simmere->children) list.push_back(std::move(child));
            simmere->children.clear();
        }
    }
}

// The entries of a paragraph holding `references`, in walk order.
std::vector<OutlineEntry> entries_in_walk_order(const std::vector<Inline>& references,
                                                std::string_view text) {
    const Document document{"test", std::nullopt, {Block::Paragraph{references}}};
    const Outline outline = build_outline(document, {}, text, outline_dialektos());
    std::vector<OutlineEntry> entries;
    std::size_t next[3] = {0, 0, 0};
    for (const Inline& reference : references) {
        switch (reference.kind()) {
            case InlineKind::Milestone: entries.push_back(outline.milestones.at(next[0]++)); break;
            case InlineKind::Deixis: entries.push_back(outline.deixes.at(next[2]++)); break;
            default: entries.push_back(outline.onyms.at(next[1]++)); break;
        }
    }
    return entries;
}

TEST(Outline, ReferencesAreFoundInTheFormsThatCarryThem) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<Inline> references;
        std::vector<std::uint64_t> lines;
    };
    const Case cases[] = {
        {"a taxis is not an onym anchor",
         text_of({"@@@!test", "@#(3) Three", "@(3) anchored", "#@"}),
         {OnymAnchor{"3"}},
         {3}},
        {"a deixis target is not an onym anchor",
         text_of({"@@@!test", "see @#(x) here", "@(x) anchored"}),
         {Deixis{"#", "x", {}}, OnymAnchor{"x"}},
         {2, 3}},
        {"an onym after a closer",
         text_of({"@@@!test", "a @*w*@(x) b"}),
         {emphasis("w", "x")},
         {2}},
        {"a deixis begins at its sigil",
         text_of({"@@@!test", "@##(x) sub", "@#(x) main"}),
         {Deixis{"##", "x", {}}, Deixis{"#", "x", {}}},
         {2, 3}},
        {"a deixis by a primary and by a localized name",
         text_of({"@@@!test", "see @{section}(x) and", "@{abschnitt}(y)"}),
         {Deixis{"#", "x", {}}, Deixis{"#", "y", {}}},
         {2, 3}},
        {"a name of another sim, or of two sims, addresses none",
         text_of({"@@@!test", "@{subsection}(x) @{dup}(x)", "@{section}(x)"}),
         {Deixis{"%", "x", {}}, Deixis{"#", "x", {}}},
         {0, 3}},
        {"a deixis of a multi-byte symbol",
         text_of({"@@@!test", "see @§(x)"}),
         {Deixis{"§", "x", {}}},
         {2}},
        {"backslash sigil",
         text_of({"\\\\\\!test", "", "\\(\"page:1\") \\(n1)", "\\#(x) \\{section}(y)"}),
         {Milestone{"page", "1", {}}, OnymAnchor{"n1"}, Deixis{"#", "x", {}}, Deixis{"#", "y", {}}},
         {3, 3, 4, 4}},
        {"references on one line share it; one above the cursor is not found",
         text_of({"@@@!test", "@(\"p:1\") @(\"p:2\") @(a)", "@#(x)"}),
         {Milestone{"p", "1", {}}, Milestone{"p", "2", {}}, OnymAnchor{"a"}, Deixis{"#", "x", {}},
          Milestone{"p", "1", {}}},
         {2, 2, 2, 3, 0}},
        {"a reference the text does not hold",
         text_of({"@@@!test", "@(\"p:1\") @(a) @#(x)"}),
         {Milestone{"p", "2", {}}, OnymAnchor{"b"}, Deixis{"##", "x", {}}},
         {0, 0, 0}},
        {"decomposed source characters, composed as the parser reads them",
         unicode::nfc(text_of({"@@@!test", "e\u0301", "@(cafe\u0301) @(\"p:e\u0301\") @#(e\u0301)"})),
         {OnymAnchor{"caf\u00e9"}, Milestone{"p", "\u00e9", {}}, Deixis{"#", "\u00e9", {}}},
         {3, 3, 3}},
        {"CR LF line ends",
         "@@@!test\r\n\r\n@(a)\r\n@(b)",
         {OnymAnchor{"a"}, OnymAnchor{"b"}},
         {3, 4}},
    };
    for (const Case& c : cases) {
        const std::vector<OutlineEntry> entries = entries_in_walk_order(c.references, c.text);
        std::vector<std::uint64_t> lines;
        for (const OutlineEntry& entry : entries) lines.push_back(entry.line);
        EXPECT_EQ(lines, c.lines) << c.what;
    }
}

// The search the index stands for: each line from the cursor on, tested for
// every written form of the reference.
std::vector<std::string> written_forms(const Inline& reference, const Dialektos& dialektos) {
    std::vector<std::string> bodies;
    if (const auto* milestone = std::get_if<Milestone>(&reference.node)) {
        bodies.push_back("(\"" + milestone->scheme + ":" + milestone->value + "\")");
    } else if (const auto* anchor = std::get_if<OnymAnchor>(&reference.node)) {
        bodies.push_back("(" + anchor->onym + ")");
    } else {
        const auto& deixis = std::get<Deixis>(reference.node);
        bodies.push_back(deixis.symbol + "(" + deixis.target + ")");
        for (const char* name : {"section", "abschnitt", "subsection", "dup", "title", "emphasis"}) {
            const NameLookup found = sim_by_name(dialektos, name);
            if (found.outcome == NameLookup::Outcome::Found && found.sim->symbol == deixis.symbol) {
                bodies.push_back("{" + std::string(name) + "}(" + deixis.target + ")");
            }
        }
    }
    std::vector<std::string> forms;
    for (const std::string& body : bodies) {
        forms.push_back("@" + body);
        forms.push_back("\\" + body);
    }
    return forms;
}

std::vector<std::uint64_t> searched_lines(const std::vector<Inline>& references, std::string_view text,
                                          const Dialektos& dialektos) {
    const std::vector<std::string_view> lines = split_standard_lines(text);
    std::vector<std::uint64_t> found;
    std::size_t cursor = 0;
    for (const Inline& reference : references) {
        const std::vector<std::string> forms = written_forms(reference, dialektos);
        std::uint64_t line = 0;
        for (std::size_t i = cursor; i < lines.size() && line == 0; ++i) {
            for (const std::string& form : forms) {
                if (lines[i].find(form) != std::string_view::npos) {
                    cursor = i;
                    line = i + 1;
                    break;
                }
            }
        }
        found.push_back(line);
    }
    return found;
}

// Texts made of whole forms, near-misses and overlapping pieces of forms.
TEST(Outline, IndexFindsTheLinesOfALineByLineSearch) {
    const std::vector<const char*> sigils{"@", "@", "\\", ""};
    const std::vector<const char*> openers{"(",  "(",  "(\"",        "(\"",          "#(",     "##(",
                                           "%(", "§(", "{section}(", "{abschnitt}(", "{dup}(", "{subsection}(",
                                           "{",  "*",  ""};
    const std::vector<const char*> keys{"x", "y", "x:y", "p:x", "p:y", ""};
    const std::vector<const char*> closers{")", ")", "\")", "\")", "\"", "(", ""};
    const std::vector<const char*> separators{"", " ", "\n", "\r\n", "\r", "*@"};
    const std::vector<Inline> candidates{
        OnymAnchor{"x"},         OnymAnchor{"y"},          OnymAnchor{"x:y"},        Milestone{"p", "x", {}},
        Milestone{"p", "y", {}}, Milestone{"x", "y", {}},  Deixis{"#", "x", {}},     Deixis{"#", "x:y", {}},
        Deixis{"##", "y", {}},   Deixis{"%", "x", {}},     Deixis{"§", "y", {}},
    };
    const Dialektos dialektos = outline_dialektos();
    std::mt19937 random(20240611);
    auto pick = [&](const auto& list) {
        return list[std::uniform_int_distribution<std::size_t>(0, list.size() - 1)(random)];
    };
    std::size_t found = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(0, 30)(random);
        for (int i = 0; i < length; ++i) {
            for (const auto* list : {&sigils, &openers, &keys, &closers, &separators}) text += pick(*list);
        }
        std::vector<Inline> references;
        const int count = std::uniform_int_distribution<int>(1, 12)(random);
        for (int i = 0; i < count; ++i) references.push_back(pick(candidates));
        const std::vector<std::uint64_t> expected = searched_lines(references, text, dialektos);
        std::vector<std::uint64_t> lines;
        for (const OutlineEntry& entry : entries_in_walk_order(references, text)) lines.push_back(entry.line);
        ASSERT_EQ(lines, expected) << text;
        for (std::uint64_t line : lines) found += line != 0;
    }
    EXPECT_GT(found, 800u);
}

using Clock = std::chrono::steady_clock;

TEST(OutlinePerformance, TenThousandMilestonesOnOneLine) {
    std::string line;
    std::vector<Inline> milestones;
    for (int i = 0; i < 10000; ++i) {
        line += "@(\"page:" + std::to_string(i) + "\") ";
        milestones.push_back(Milestone{"page", std::to_string(i), {}});
    }
    const std::string text = text_of({"@@@!test", "", line});
    const Document document{"test", std::nullopt, {Block::Paragraph{milestones}}};

    const auto start = Clock::now();
    const Outline outline = build_outline(document, {}, text, outline_dialektos());
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));

    ASSERT_EQ(outline.milestones.size(), 10000u);
    for (const OutlineEntry& entry : outline.milestones) EXPECT_EQ(entry.line, 3u) << entry.key;
}

TEST(OutlinePerformance, TenThousandReferencesThatAreNeverFound) {
    std::string text = "@@@!test\n";
    for (int i = 0; i < 10000; ++i) text += "a plain line @(x" + std::to_string(i) + ") of text\n";
    // Lines in which every sigil begins a candidate that runs on to the end.
    for (const char* opener : {"@(", "@(\"", "@#(", "@{"}) {
        for (int i = 0; i < 20000; ++i) text += opener;
        text += "x)\"}(x)\n";
    }
    std::vector<Inline> references;
    for (int i = 0; i < 10000; ++i) {
        const std::string key = "absent" + std::to_string(i);
        switch (i % 3) {
            case 0: references.push_back(Milestone{"page", key, {}}); break;
            case 1: references.push_back(OnymAnchor{key}); break;
            case 2: references.push_back(Deixis{"#", key, {}}); break;
        }
    }
    const Document document{"test", std::nullopt, {Block::Paragraph{references}}};

    const auto start = Clock::now();
    const Outline outline = build_outline(document, {}, text, outline_dialektos());
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));

    EXPECT_EQ(outline.milestones.size() + outline.onyms.size() + outline.deixes.size(), 10000u);
    for (const auto* list : {&outline.milestones, &outline.onyms, &outline.deixes}) {
        for (const OutlineEntry& entry : *list) EXPECT_EQ(entry.line, 0u) << entry.key;
    }
}

}  // namespace
}  // namespace ilvex
