#include "lib/check_entry.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "dendron/plero.hpp"
#include "dialektos/error.hpp"
#include "repeated_text.hpp"
#include "temp_directory.hpp"

namespace ilvex {
namespace {

// The check entry and the document parser, through resolution of a standard
// dialektos that no file in the working directory shadows.
TEST(CheckEntry, RoutesDefinitionFilesAndDocuments) {
    auto definition = parse_input("  @@@!ilvex@0.3  \n", "doc.ild");
    ASSERT_TRUE(definition) << error_message(definition.error());
    EXPECT_TRUE(std::holds_alternative<Dialektos>(*definition));

    auto document = parse_input("@@@!koine\n\nHello\n", "doc.ild");
    ASSERT_TRUE(document) << error_message(document.error());
    ASSERT_TRUE(std::holds_alternative<ParsedDocument>(*document));
    const Document& parsed = std::get<ParsedDocument>(*document).document;
    EXPECT_EQ(parsed.dialektos, "koine");
    EXPECT_EQ(parsed.version, std::nullopt);
    ASSERT_EQ(parsed.blocks.size(), 1u);
    EXPECT_EQ(parsed.blocks[0], Block(Block::Paragraph{{Inline::Text{"Hello"}}}));
}

// Validation and brachy keep no tree, but answer and fail exactly as
// parse_input does,
// for a fault in any block, nested or not, first or last.
TEST(CheckEntry, ValidationGivesTheAnswersAndErrorsOfAFullParse) {
    const char* texts[] = {
        "@@@!koine\n\nHello\n",
        "  @@@!ilvex@0.3  \n",
        "@@@!ilvex\nbogus\n",
        "@@@!koine\n\nfirst\n\nsecond @x\n",
        "@@@!koine\n\n@# T\n\n@@@.\n@@@@(a b)\n.@@@\n#@\n\nlast\n",
        "@@@!koine\n\n@# T\nnever closed\n",
        "@@@!koine\n\ne\u0301 @/x/@\n\n@@@!(koine)\n@* y *@\n!@@@\n",
        "\n@@@!koine\n",
    };
    for (const char* text : texts) {
        const auto full = parse_input(text, "v/doc.ild");
        const auto kind = check_input(text, "v/doc.ild");
        const auto brachy = write_brachy(text, "v/doc.ild");
        ASSERT_EQ(full.ok(), kind.ok()) << text;
        ASSERT_EQ(full.ok(), brachy.ok()) << text;
        if (!full) {
            EXPECT_EQ(error_message(kind.error()), error_message(full.error())) << text;
            EXPECT_EQ(error_message(brachy.error()), error_message(full.error())) << text;
            continue;
        }
        const bool definition = std::holds_alternative<Dialektos>(*full);
        EXPECT_EQ(kind.value() == InputKind::Dialektos, definition) << text;
        EXPECT_EQ(!brachy.value().has_value(), definition) << text;
    }
}

TEST(CheckEntry, NormalizesDocumentsToNfc) {
    auto document = parse_input("@@@!koine\ne\u0301t\u00E9", "doc.ild");
    ASSERT_TRUE(document) << error_message(document.error());
    EXPECT_EQ(std::get<ParsedDocument>(*document).document.blocks,
              std::vector<Block>{Block(Block::Paragraph{{Inline::Text{"\u00E9t\u00E9"}}})});
}

TEST(CheckEntry, TheOutlineEntryDoesNotTrimOrRoute) {
    auto indented = parse_document_for_outline("  @@@!ilvex@0.3  \n", "doc.ild");
    ASSERT_FALSE(indented);
    EXPECT_EQ(error_message(indented.error()),
              "doc.ild:1:1: missing dialektos declaration on the first content line");
    auto meta = parse_document_for_outline("@@@!ilvex\n", "doc.ild");
    ASSERT_FALSE(meta);
    EXPECT_EQ(meta.error().kind, ErrorKind::InvalidDeclaration);
    EXPECT_EQ(meta.error().location, (ErrorLocation{"doc.ild", 1, 1}));
}

TEST(CheckEntry, DocumentParserKeepsVersionRecordsAndDialektos) {
    const std::string_view text = "#!/usr/bin/env x\n@@@!koine@0.3\n\n@@@.\nHi\n.@@@\n";
    auto parsed = parse_document_for_outline(text, "doc.ild");
    ASSERT_TRUE(parsed) << error_message(parsed.error());
    EXPECT_EQ(parsed->document.dialektos, "koine");
    EXPECT_EQ(parsed->document.version, "0.3");
    EXPECT_EQ(parsed->dialektos.id, "koine");
    ASSERT_EQ(parsed->outline_records.size(), 1u);
    EXPECT_EQ(parsed->outline_records[0].kind, "diaphane");
    EXPECT_EQ(parsed->outline_records[0].start, 4u);
    EXPECT_EQ(parsed->outline_records[0].end, 6u);

    // Only the outline's parse builds records; the same document parsed
    // otherwise is the same tree without them.
    auto plain = parse_document(text, "doc.ild");
    ASSERT_TRUE(plain) << error_message(plain.error());
    EXPECT_EQ(plain->document, parsed->document);
    EXPECT_TRUE(plain->outline_records.empty());

    auto input = parse_document_input("@@@!koine@0.3\nHi", "doc.ild");
    ASSERT_TRUE(input);
    EXPECT_EQ(std::get<ParsedDocument>(*input).document.version, "0.3");
}

TEST(CheckEntry, ResolutionErrorsPassUnchanged) {
    auto parsed = parse_input("@@@!no-such-dialektos-here\nHi", "doc.ild");
    ASSERT_FALSE(parsed);
    EXPECT_EQ(parsed.error().kind, ErrorKind::UnresolvedDialektos);
    EXPECT_EQ(parsed.error().location, std::nullopt);
    EXPECT_EQ(error_message(parsed.error()),
              "cannot resolve dialektos `no-such-dialektos-here`: no local .lektos/.dia file");
}

// A definition with one grammata sim "§" and one stichos sim "~".
constexpr std::string_view local_definition =
    "@@@!ilvex\n"
    "@=== chapter\n@§ [lemma]\ngrammata\n§@\n===@\n"
    "@=== song\n@~ [lemma]\nstichos\n~@\n===@\n";

const std::string chapter_document = "@@@!loc\n@§ One\ntext\n§@\n";

// plero written as the parse goes fails as a parse followed by naming the
// whole tree does: the document's own error first, then a missing glossa,
// then a sim that cannot be named (two Para sims share the name "part"
// here, two endo-simmeres the name "mark").
TEST(CheckEntry, StreamedPleroFailsInTheOrderOfParseThenNaming) {
    const testing::TempDirectory dir;
    dir.write("twin.dia",
              "@@@!ilvex\n"
              "@=== part\n@§ [lemma]\ngrammata\n§@\n===@\n"
              "@=== part\n@¶ [lemma]\ngrammata\n¶@\n===@\n"
              "@=== note\n@^ [lemma]\ngrammata\n^@\n===@\n"
              "@=== mark\n@* grammata *@\n===@\n"
              "@=== mark\n@+ grammata +@\n===@\n");
    const std::vector<std::pair<std::string, std::optional<std::string_view>>> cases = {
        {"@@@!twin\n@^ n\ntext\n^@\n", std::nullopt},
        {"@@@!twin\n@^ n\ntext\n^@\n", "de"},
        {"@@@!twin\n@§ One\ntext\n§@\n", std::nullopt},
        {"@@@!twin\n@^ n\n@§ One\ntext\n§@\n^@\n", std::nullopt},
        {"@@@!twin\n@§ One\ntext\n§@\n\n@^ open\n", std::nullopt},
        {"@@@!twin\n@§ One\ntext\n§@\n\n@^ open\n", "de"},
        {"@@@!twin\n\ntext @*x*@ more\n\nthen\n", std::nullopt},
        {"@@@!twin\n\ntext @*x*@ more\n\nthen @*open\n", std::nullopt},
        {"@@@!ilvex\nbogus\n", std::nullopt},
        {"@@@!ilvex\n", std::nullopt},
    };
    for (const auto& [text, lang] : cases) {
        const std::string path = dir / "doc.ild";
        std::string expected;
        if (auto parsed = parse_input(text, path); !parsed) {
            expected = error_message(parsed.error());
        } else if (auto* document = std::get_if<ParsedDocument>(&*parsed)) {
            auto whole = render_plero(document->document, document->dialektos, lang, englossis_resolver(path));
            expected = whole ? *whole : error_message(whole.error());
        } else {
            expected = "a definition file";
        }
        const auto streamed = write_plero(text, path, lang);
        const std::string answered = !streamed                ? error_message(streamed.error())
                                     : streamed->has_value() ? **streamed
                                                             : "a definition file";
        EXPECT_EQ(answered, expected) << text;
    }
}

// A writer that hands its text over in pieces between blocks, and within a
// long paragraph before its current line, writes the same text: nothing it
// does later looks back at what it handed over.
TEST(CheckEntry, TextHandedOverInPiecesIsTheSame) {
    std::string blocks = "@@@!koine\n\n";
    for (int i = 0; i < 20000; ++i) {
        blocks += "@#(" + std::to_string(i) + ") Part\nSome @*strong*@ text, a \\@ sign\\\n\n@@@.\nx @/y/@|.z\n.@@@\n#@\n\n";
    }
    // One paragraph in a section, with lines that would begin with the
    // section's closer but for a "|"; and one paragraph of one line.
    const std::string paragraph =
        "@@@!koine\n\n@# T\n" + testing::repeated("a @*b*@ \\@ c|@/d/@.g|x\n#|@*e*@ f\n", 40000) + "#@\n";
    const std::string line = "@@@!koine\n\n" + testing::repeated("a @*b*@ ", 100000);
    const struct {
        std::string text;
        int pieces;  // at least
    } cases[] = {{blocks, 3}, {paragraph, 3}, {line, 1}};
    auto collect = [](std::string& joined, int& pieces) {
        return [&joined, &pieces](std::string_view piece) {
            joined += piece;
            ++pieces;
        };
    };
    for (const auto& [text, least] : cases) {
        SCOPED_TRACE(text.substr(0, 60));
        std::string brachy, plero;
        int brachy_pieces = 0, plero_pieces = 0;
        const auto whole_brachy = write_brachy(text, "doc.ild");
        const auto pieces_brachy = write_brachy(text, "doc.ild", collect(brachy, brachy_pieces));
        const auto whole_plero = write_plero(text, "doc.ild", std::nullopt);
        const auto pieces_plero = write_plero(text, "doc.ild", std::nullopt, collect(plero, plero_pieces));
        ASSERT_TRUE(whole_brachy && pieces_brachy && whole_plero && pieces_plero);
        EXPECT_EQ(**pieces_brachy, "");
        EXPECT_TRUE(brachy == **whole_brachy);
        EXPECT_GE(brachy_pieces, least);
        EXPECT_EQ(**pieces_plero, "");
        EXPECT_TRUE(plero == **whole_plero);
        EXPECT_GE(plero_pieces, least);
    }
}

// The offsets the parse reports as read for good are line starts between
// top-level blocks, and text before them is never read again: blanking it
// as soon as it is reported changes no answer, written text or error.
TEST(CheckEntry, TextReadForGoodIsNotReadAgain) {
    const std::string block =
        "@= Title =@\n\n@#(1) Heading\n\nSome @*strong*@ text@^(fn1) and @/more/@.\n"
        "@^\nthe note.\n^@(fn1)\n\n@--\n@-\nAn item @/x/@.\n-@\n--@\n\n";
    std::string body;
    for (int i = 0; i < 40; ++i) body += block;
    const std::string texts[] = {
        "@@@!koine\n\n" + body,
        "@@@!koine\n\n" + body + "@/unclosed\n",
        "@@@!koine\n\n@^\n" + body,  // a block open to the end
    };
    for (const std::string& text : texts) {
        std::string blanked = text;
        std::vector<std::size_t> offsets;
        const TextDone blank = [&](std::size_t offset) {
            ASSERT_LE(offset, blanked.size());
            ASSERT_TRUE(offset == 0 || text[offset - 1] == '\n') << offset;
            ASSERT_TRUE(offsets.empty() || offset >= offsets.back()) << offset;
            offsets.push_back(offset);
            std::fill(blanked.begin(), blanked.begin() + static_cast<std::ptrdiff_t>(offset), '\0');
        };
        const auto whole_brachy = write_brachy(text, "doc.ild");
        const auto blanked_brachy = write_brachy(blanked, "doc.ild", {}, TextForm::Nfc, blank);
        ASSERT_EQ(whole_brachy.ok(), blanked_brachy.ok());
        if (whole_brachy) {
            EXPECT_EQ(**blanked_brachy, **whole_brachy);
            EXPECT_GT(offsets.size(), 40u);
        } else {
            EXPECT_EQ(error_message(blanked_brachy.error()), error_message(whole_brachy.error()));
        }
        blanked = text;
        offsets.clear();
        const auto whole_plero = write_plero(text, "doc.ild", std::nullopt);
        const auto blanked_plero = write_plero(blanked, "doc.ild", std::nullopt, {}, TextForm::Nfc, blank);
        ASSERT_EQ(whole_plero.ok(), blanked_plero.ok());
        if (whole_plero) {
            EXPECT_EQ(**blanked_plero, **whole_plero);
        } else {
            EXPECT_EQ(error_message(blanked_plero.error()), error_message(whole_plero.error()));
        }
    }
}

// Blocks written as the parse goes reuse the storage of the blocks before
// them: lists and texts of every size, nested or not, in paragraphs, verse
// and lemmas, follow one another, items of one kind stand where items of
// another stood, lists grow and shrink, and no block takes anything over
// from the one before it.
TEST(CheckEntry, StreamedBlocksTakeNothingFromTheBlocksBefore) {
    const std::string long_text(300, 'w');
    std::string text = "@@@!koine\n\n";
    for (int i = 0; i < 40; ++i) {
        text += "@#(" + std::to_string(i) + ") Lemma " + std::string(i % 7 * 9, 'l') + "\n";
        text += "A " + long_text.substr(0, i * 7 % 300) + " @*b @/" + long_text.substr(0, i % 5 * 40) + "/@ c*@ d\n";
        text += i % 3 == 0 ? "@@@= Verse\nx\n  " + long_text.substr(0, i * 11 % 300) + "\n=@@@\n\n" : "\n";
        text += i % 4 == 1 ? "@/lead/@ then" : "f";
        for (int j = 0; j < i % 6; ++j) text += j % 2 == 0 ? " @*k*@ t" : " " + long_text.substr(0, j * 60);
        text += "\ne\n";
        text += i % 2 == 0 ? "@-\n" + long_text.substr(0, 20) + " @^(n" + std::to_string(i) + ")\n-@\n" : "";
        text += "#@\n\n";
    }
    const auto whole = parse_document(text, "doc.ild");
    ASSERT_TRUE(whole) << error_message(whole.error());
    const auto brachy = write_brachy(text, "doc.ild");
    ASSERT_TRUE(brachy && brachy->has_value());
    EXPECT_EQ(**brachy, write_document(whole->document, &whole->dialektos, englossis_resolver("doc.ild")));
    const auto plero = write_plero(text, "doc.ild", std::nullopt);
    ASSERT_TRUE(plero && plero->has_value());
    EXPECT_EQ(**plero, *render_plero(whole->document, whole->dialektos, std::nullopt, englossis_resolver("doc.ild")));
    const auto for_outline = parse_document_for_outline(text, "doc.ild");
    ASSERT_TRUE(for_outline);
    const auto outline = outline_document(text, "doc.ild");
    ASSERT_TRUE(outline);
    EXPECT_EQ(*outline, build_outline(for_outline->document, for_outline->outline_records, text, for_outline->dialektos));
}

// The outline built as the parse goes is the outline of the whole tree: the
// references of lemmas, bodies and hypographs in document order, none from
// an axioma body (nested blocks included), block onyms first.
TEST(CheckEntry, StreamedOutlineIsTheOutlineOfTheWholeTree) {
    const std::string text =
        "@@@!koine\n\n"
        "@#(1) Lemma @(l1)\nBody @(b1) @(\"v:1\")@^(fn)\n"
        "@@@:\nHidden @(h1)\n@## Inner @(h2)\nx @(h3)\n##@\n:@@@(ax)\n"
        "@@@.\nIn diaphane @(d1)\n.@@@(dia)\n"
        "@@@!(koine)\nEmbedded @(e1)\n!@@@\n"
        "#@(sec)\n\n"
        "After @(a1) @(\"v:2\")\n";
    const auto parsed = parse_document_for_outline(text, "doc.ild");
    ASSERT_TRUE(parsed) << error_message(parsed.error());
    const Outline whole = build_outline(parsed->document, parsed->outline_records, text, parsed->dialektos);
    const auto streamed = outline_document(text, "doc.ild");
    ASSERT_TRUE(streamed) << error_message(streamed.error());
    EXPECT_EQ(*streamed, whole);
    std::vector<std::string> onyms;
    for (const OutlineEntry& entry : streamed->onyms) onyms.push_back(entry.key);
    EXPECT_EQ(onyms, (std::vector<std::string>{"sec", "dia", "l1", "b1", "d1", "e1", "a1"}));
    EXPECT_EQ(streamed->blocks.size(), 4u);  // an axioma body's blocks are outlined too
}

TEST(CheckEntry, ResolvesFromTheDirectoryOfThePath) {
    const testing::TempDirectory dir;
    dir.write("loc.dia", local_definition);
    auto parsed = parse_document_for_outline(chapter_document, dir / "doc.ild");
    ASSERT_TRUE(parsed) << error_message(parsed.error());
    EXPECT_EQ(parsed->dialektos.id, "loc");
    ASSERT_EQ(parsed->document.blocks.size(), 1u);
    EXPECT_EQ(std::get<Block::Para>(parsed->document.blocks[0].node).symbol, "§");
    ASSERT_EQ(parsed->outline_records.size(), 1u);
    EXPECT_EQ(parsed->outline_records[0].name, "chapter");

    // Errors are located at the path as given.
    auto failed = parse_document("@@@!loc\n@§ One\n", dir / "doc.ild");
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().location, (ErrorLocation{dir / "doc.ild", 2, 1}));
}

// Switches the working directory for one test.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& dir) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous_); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path previous_;
};

TEST(CheckEntry, ABareFileNameResolvesInTheWorkingDirectory) {
    const testing::TempDirectory dir;
    dir.write("loc.dia", local_definition);
    // A local koine shadows the standard one.
    dir.write("koine.dia", local_definition);
    EXPECT_FALSE(parse_document(chapter_document, "doc.ild"));
    const WorkingDirectory inside(dir.path());
    auto parsed = parse_input(chapter_document, "doc.ild");
    ASSERT_TRUE(parsed) << error_message(parsed.error());
    EXPECT_EQ(std::get<ParsedDocument>(*parsed).document.blocks.size(), 1u);
    auto shadowed = parse_document_for_outline("@@@!koine\n@~\nla\n~@", "doc.ild");
    ASSERT_TRUE(shadowed) << error_message(shadowed.error());
    EXPECT_EQ(shadowed->outline_records[0].name, "song");
}

TEST(CheckEntry, EnglossisBlocksUseTheirOwnDialektos) {
    const testing::TempDirectory dir;
    dir.write("inner.dia", local_definition);
    auto parsed =
        parse_document_for_outline("@@@!koine\n@@@!(inner)\n@~ Song\nla\n~@\n!@@@.aside\n",
                                   dir / "x.ild");
    ASSERT_TRUE(parsed) << error_message(parsed.error());
    ASSERT_EQ(parsed->document.blocks.size(), 1u);
    const auto& englossis = std::get<Block::Englossis>(parsed->document.blocks[0].node);
    EXPECT_EQ(englossis.dialektos, "inner");
    EXPECT_EQ(englossis.suffix.genoses, std::vector<std::string>{"aside"});
    ASSERT_EQ(englossis.children.size(), 1u);
    EXPECT_EQ(englossis.children[0].kind(), BlockKind::Stichoi);

    const auto& records = parsed->outline_records;
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].kind, "stichoi");
    EXPECT_EQ(records[0].name, "song");
    EXPECT_EQ(records[0].depth, 1u);
    EXPECT_EQ(records[1].kind, "englossis");
    EXPECT_EQ(records[1].symbol, "inner");
    EXPECT_EQ(records[1].name, std::nullopt);
}

TEST(CheckEntry, DefinitionErrorsKeepTheirOwnLocations) {
    const testing::TempDirectory dir;
    dir.write("bad.dia", "@@@!ilvex\nbogus\n");
    auto resolved = parse_document("@@@!bad\n", dir / "doc.ild");
    ASSERT_FALSE(resolved);
    EXPECT_EQ(error_message(resolved.error()),
              "bad.dia:2:1: invalid dialektos definition: unexpected line: `bogus`");

    auto direct = parse_input("@@@!ilvex\nbogus\n", "defs/x.lektos");
    ASSERT_FALSE(direct);
    EXPECT_EQ(error_message(direct.error()),
              "defs/x.lektos:2:1: invalid dialektos definition: unexpected line: `bogus`");
    auto named = parse_input("@@@!ilvex\n", "defs/x.lektos");
    ASSERT_TRUE(named) << error_message(named.error());
    EXPECT_EQ(std::get<Dialektos>(*named).id, "x");
}

}  // namespace
}  // namespace ilvex
