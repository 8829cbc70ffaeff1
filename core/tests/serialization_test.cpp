#include <gtest/gtest.h>

#include "definition_testing.hpp"
#include "dialektos/serialization.hpp"

namespace ilvex {
namespace {

using testing::parse;
using testing::TextSource;

std::string serialized(std::string_view text, const DefinitionSource& source = TextSource()) {
    const auto d = parse(text, source);
    EXPECT_TRUE(d) << text << ": " << (d ? "" : error_message(d.error()));
    return d ? serialize_dialektos(*d) : "";
}

TEST(Serialization, EmptyDialektos) {
    EXPECT_EQ(serialize_dialektos(Dialektos{}), "@@@!ilvex\n");
    EXPECT_EQ(serialized("\\\\\\!ilvex@1\n\\\\/ comments are never written\n"), "@@@!ilvex\n");
}

TEST(Serialization, EachForm) {
    struct Case {
        const char* block;  // the lines of one sim block after "@=== s"
        const char* written;
    };
    const Case cases[] = {
        {"@* grammata *@", "@* grammata *@\n"},
        {"  @<* any grammata here *>@ ", "@<* grammata *>@\n"},
        {"@<* grammata *<@", "@<* grammata *<@\n"},
        {"@=#=(depth)", "@=#=(depth)\n"},
        {"@#\ngrammata\n#@", "@#\ngrammata\n#@\n"},
        {"@<(taxis)   lemma=v\n autonym \n\nstichos\n>@ [hypograph]", "@<(taxis) lemma=v\nautonym\nstichos\n>@ [hypograph]\n"},
        {"@<[(taxis)] [lemma]\ngrammata\n<@hypograph", "@<[(taxis)] [lemma]\ngrammata\n<@ hypograph\n"},
        {"@# lemma\ngrammata\n#@", "@# lemma\ngrammata\n#@\n"},
        {"@# [lemma= v ]\ngrammata\n#@", "@# [lemma=v]\ngrammata\n#@\n"},
        {"@* grammata *@\n@^( p )\n@\"\" long \"\"@\n@\"short\"@\n@% g", 
         "@* grammata *@\n@% g\n@\"short\"@\n@\"\"\nlong\n\"\"@\n@^( p )\n"},
        {"@* grammata *@\n@\"\"\n  first\n    second\n\"\"@", "@* grammata *@\n@\"\"\nfirst\n    second\n\"\"@\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(serialized(std::string("@@@!ilvex\n@=== s\n") + c.block + "\n===@\n"),
                  std::string("@@@!ilvex\n\n@=== s\n") + c.written + "===@\n")
            << c.block;
    }
}

TEST(Serialization, OrderAndVocabularies) {
    const char* text =
        "\\\\\\!ilvex\n"
        "\\==% w\nz:\n%==\\\n"
        "\\=== b\n\\+ grammata +\\\n===\\\n"
        "\\=== a\n\\~ grammata ~\\\n===\\\n"
        "\\=== a\n\\* grammata *\\\n===\\\n"
        "\\==% v\nb: y x\n: e\n%==\\\n"
        "\\==% v\na: w\nb: v\n%==\\\n";
    EXPECT_EQ(serialized(text),
              "@@@!ilvex\n"
              "\n@=== a\n@* grammata *@\n===@\n"
              "\n@=== a\n@~ grammata ~@\n===@\n"
              "\n@=== b\n@+ grammata +@\n===@\n"
              "\n@==% v\n: e\na: w\nb: v x y\n%==@\n"
              "\n@==% w\nz:\n%==@\n");
}

TEST(Serialization, ImportedSims) {
    const TextSource source(
        std::map<std::string, std::string>{{"p.dia", "@@@!ilvex\n@=== b\n@<( lemma=kinds\ngrammata\n)>@\n@% kinds\n===@\n"}});
    EXPECT_EQ(serialized("@@@!ilvex\n@@:: p :: <( [[\n", source),
              "@@@!ilvex\n\n@=== b\n@[[ lemma=kinds\ngrammata\n]]@\n@% kinds\n===@\n");
}

// Descriptions whose literal spelling would read back as something else.
TEST(Serialization, DescriptionsThatNeedAnotherSpelling) {
    struct Case {
        const char* line;
        const char* written;
    };
    const Case cases[] = {
        {"@\" \"@", "@\"  \"@\n"},
        {"@\" \"quoted\" \"@", "@\" \"quoted\" \"@\n"},
        {"@\"x\"\"@", "@\"x\"\"@\n"},
        {"@\"\"\"\"@\"\"@", "@\"\"\"\"@\"\"@\n"},
        {"@\"\"  \"\"@   \"\"@", "@\"\"\"\"@\"\"@\n"},
        {"@\"\" a \"\"@ b \"\"@", "@\"\"\na \"\"@ b\n\"\"@\n"},
        {"@\"\"\"\"@", "@\"\"\n\n\"\"@\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(serialized(std::string("@@@!ilvex\n@=== s\n@* grammata *@\n") + c.line + "\n===@\n"),
                  std::string("@@@!ilvex\n\n@=== s\n@* grammata *@\n") + c.written + "===@\n")
            << c.line;
    }
}

// The parts of a dialektos that its canonical text carries.
void expect_same_written_parts(const Dialektos& a, const Dialektos& b, std::string_view text) {
    EXPECT_EQ(a.sims, b.sims) << text;
    EXPECT_EQ(a.vocabularies, b.vocabularies) << text;
}

// The same text in the backslash sigil: every "@" of these texts is a sigil.
std::string with_backslash(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '@') c = '\\';
    }
    return out;
}

const char* round_trip_texts[] = {
    "@@@!ilvex\n",
    "@@@!ilvex\n@=== e\n@* grammata *@\n===@\n@=== f\n@<[ grammata [<@\n===@\n@=== g\n@«( grammata )«@\n===@\n",
    "@@@!ilvex\n@=== m\n@=#=(depth)\n===@\n@=== n\n@((-)\n===@\n@=== o\n@#(-)(x-1)\n===@\n",
    "@@@!ilvex\n@=== a\n@#\ngrammata\n#@\n===@\n"
    "@=== b\n@<(taxis) lemma\nautonym\nstichos\n>@ hypograph\n===@\n"
    "@=== c\n@<[[(taxis)] [lemma]\ngrammata\n]>@ [hypograph]\n===@\n"
    "@=== d\n@=== lemma=\ngrammata\n===@\n===@\n"
    "@=== e\n@%[ [lemma= a]b ]\nautonym\ngrammata\n]%@\n===@\n"
    "@=== f\n@$ [lemma=grammata $@]\ngrammata\n$@\n===@\n"
    "@=== g\n@#(-)=\nstichos\n=)-(#@\n===@\n"
    "@=== h\n@#(-) lemma=x)\ngrammata\n(-)#@\n===@\n",
    "@@@!ilvex\n@=== s\n@* grammata *@\n@% kinds of \"things\"\n@\" plain \"@\n@^( parent) x )\n"
    "@\"\"\n  indented\n\n    deeper\r\n\"\"@\n===@\n"
    "@=== t\n@+ grammata +@\n@\"  \"@\n@\"\"\"\"@\n@^()\n===@\n"
    "@=== u\n@- grammata -@\n@\" \"quoted\" \"@\n@\"\"\"\"@\"\"@\n===@\n"
    "@=== v\n@/ grammata /@\n@\"a\"\"@\n@\"\" \"\"@ x \"\"@\n===@\n",
    // One text on two lines: the parentheses say so to clang's
    // -Wstring-concatenation, which suspects a missing comma in a last element.
    ("@@@!ilvex\n@==% v\nb: y x\n: e\nc:\n%==@\n@==% w\n%==@\n@==% v\na: w z\n%==@\n"
     "@=== s\n@* grammata *@\n@% v\n===@\n"),
};

TEST(Serialization, RoundTripsInBothSigils) {
    for (const char* at_text : round_trip_texts) {
        for (const std::string& text : {std::string(at_text), with_backslash(at_text)}) {
            const auto first = parse(text);
            ASSERT_TRUE(first) << text << ": " << error_message(first.error());
            const std::string written = serialize_dialektos(*first);
            const auto second = parse(written);
            ASSERT_TRUE(second) << written << ": " << error_message(second.error());
            expect_same_written_parts(*first, *second, written);
            EXPECT_EQ(serialize_dialektos(*second), written);
        }
    }
}

TEST(Serialization, ImportedSimsRoundTrip) {
    const TextSource source({
        {"p.dia", round_trip_texts[3]},
        {"q.dia", "@@@!ilvex\n@=== o\n@< grammata <@\n===@\n@=== p\n@<<\ngrammata\n<<@\n===@\n"},
    });
    const char* texts[] = {
        "@@@!ilvex\n@@:: p\n@@:: q :: < -\n@@:: q :: < >\n",
        "@@@!ilvex\n@@:: p :: [#]\n@@:: p :: < ==\n@@:: q :: << =\n@@:: q :: << ((\n",
        "\\\\\\!ilvex\n\\\\:: p :-: [#]\n\\\\:: q :: < «\n",
    };
    for (const char* text : texts) {
        const auto first = parse(text, source);
        ASSERT_TRUE(first) << text << ": " << error_message(first.error());
        const std::string written = serialize_dialektos(*first);
        const auto second = parse(written);
        ASSERT_TRUE(second) << written << ": " << error_message(second.error());
        expect_same_written_parts(*first, *second, written);
    }
}

}  // namespace
}  // namespace ilvex
