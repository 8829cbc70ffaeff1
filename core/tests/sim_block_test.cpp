#include <gtest/gtest.h>

#include "definition_testing.hpp"
#include "dialektos/lexical.hpp"
#include "dialektos/sim_block.hpp"

namespace ilvex {
namespace {

using testing::outcome;
using testing::parse;

// A definition text holding one sim block whose lines follow the opening
// line "@=== s" (line 2).
std::string block(std::string_view lines) { return "@@@!ilvex\n@=== s\n" + std::string(lines); }

SimDef sim_of(std::string_view lines) {
    const auto d = parse(block(lines));
    EXPECT_TRUE(d) << lines << ": " << (d ? "" : error_message(d.error()));
    if (!d || d->sims.size() != 1) return {};
    return d->sims.begin()->second;
}

ParaSimmere para_of(const SimDef& sim) {
    const auto* para = std::get_if<ParaSimmere>(&sim.form);
    EXPECT_NE(para, nullptr) << sim.symbol;
    return para ? *para : ParaSimmere{};
}

TEST(MonosimParam, Tails) {
    EXPECT_EQ(monosim_param("(depth)"), "depth");
    EXPECT_EQ(monosim_param("(x-1)  \t"), "x-1");
    EXPECT_EQ(monosim_param("(-)"), "-");
    for (const char* text : {"()", "(taxis)", "(a b)", "(é)", " (a)", "(a", "a)", "(a)b", "(a_b)", ""}) {
        EXPECT_EQ(monosim_param(text), std::nullopt) << text;
    }
}

TEST(SimBlockForms, OneLineForms) {
    struct Form {
        const char* line;
        const char* symbol;
        SimForm form;
        bool mirrored;
    };
    const std::vector<Form> forms = {
        {"@=#=(depth)", "=#=", Monosim{"depth"}, true},
        {"@((-)", "(", Monosim{"-"}, true},
        {"@#(-)(n)", "#(-)", Monosim{"n"}, true},
        {"@# grammata #@", "#", EndoSimmere{}, true},
        {"@[ grammata ]@", "[", EndoSimmere{}, true},
        {"@[ grammata [@", "[", EndoSimmere{}, false},
        {"@<* some grammata text *>@  ", "<*", EndoSimmere{}, true},
        {"@<*grammata*<@", "<*", EndoSimmere{}, false},
        {"@#(taxis) grammata #@", "#", EndoSimmere{}, true},
        {"@«» xgrammatax »«@", "«»", EndoSimmere{}, true},
    };
    for (const Form& f : forms) {
        const SimDef sim = sim_of(std::string(f.line) + "\n===@");
        EXPECT_EQ(sim.name, "s");
        EXPECT_EQ(sim.symbol, f.symbol) << f.line;
        EXPECT_EQ(sim.form, f.form) << f.line;
        EXPECT_EQ(sim.mirrored, f.mirrored) << f.line;
    }
}

TEST(SimBlockForms, ParaSimmereHeaders) {
    struct Header {
        const char* line;
        const char* symbol;
        Occurrence taxis;
        Occurrence lemma;
        std::optional<std::string> vocabulary;
    };
    using O = Occurrence;
    const std::vector<Header> headers = {
        {"@#", "#", O::Absent, O::Absent, std::nullopt},
        {"@#(taxis)", "#", O::Required, O::Absent, std::nullopt},
        {"@#[(taxis)]", "#", O::Optional, O::Absent, std::nullopt},
        {"@# lemma", "#", O::Absent, O::Required, std::nullopt},
        {"@#(taxis)lemma", "#", O::Required, O::Required, std::nullopt},
        {"@#[(taxis)] [lemma]", "#", O::Optional, O::Optional, std::nullopt},
        {"@# lemma=v", "#", O::Absent, O::Required, "v"},
        {"@# lemma=  two words ", "#", O::Absent, O::Required, "two words"},
        {"@# lemma=", "#", O::Absent, O::Required, ""},
        {"@# [lemma=v]", "#", O::Absent, O::Optional, "v"},
        {"@# [lemma= v ]", "#", O::Absent, O::Optional, "v"},
        {"@# [lemma=]", "#", O::Absent, O::Optional, ""},
        {"@#[ lemma", "#[", O::Absent, O::Required, std::nullopt},
        {"@#[(taxis)", "#[", O::Required, O::Absent, std::nullopt},
        {"@#((taxis)", "#(", O::Required, O::Absent, std::nullopt},
        {"@#()", "#()", O::Absent, O::Absent, std::nullopt},
    };
    for (const Header& h : headers) {
        const std::string episim = episim_symbol(h.symbol, true) + "@";
        const SimDef sim = sim_of(std::string(h.line) + "\ngrammata\n" + episim + "\n===@");
        EXPECT_EQ(sim.symbol, h.symbol) << h.line;
        const ParaSimmere para = para_of(sim);
        EXPECT_EQ(para.taxis, h.taxis) << h.line;
        EXPECT_EQ(para.lemma, h.lemma) << h.line;
        EXPECT_EQ(sim.lemma_vocabulary, h.vocabulary) << h.line;
    }
}

TEST(SimBlockForms, ParaSimmereBodyAndEpisimLine) {
    SimDef sim = sim_of("@<\n  autonym\n\n stichos \n>@ hypograph\n===@");
    EXPECT_EQ(para_of(sim), (ParaSimmere{SimBody::Stichos, true, Occurrence::Absent, Occurrence::Absent,
                                         Occurrence::Required}));
    EXPECT_TRUE(sim.mirrored);
    sim = sim_of("@<\ngrammata\n<@[hypograph]\n===@");
    EXPECT_EQ(para_of(sim).hypograph, Occurrence::Optional);
    EXPECT_FALSE(sim.mirrored);
    // An episim that looks like the closing line is found first; the next
    // such line closes the block.
    sim = sim_of("@===[(taxis)] lemma\ngrammata\n===@\n@\"short\"@\n===@");
    EXPECT_EQ(sim.symbol, "===");
    EXPECT_EQ(para_of(sim).taxis, Occurrence::Optional);
    EXPECT_EQ(sim.short_description, "short");
}

TEST(SimBlockForms, PropertyLines) {
    SimDef sim = sim_of(
        "@* grammata *@\n"
        "@% kinds of things\n"
        "@\" first \"@\n"
        "@\"second\"@\n"
        "@^( x) \n"
        "@\"\"\n"
        "   indented\n"
        "\n"
        "  more\r\n"
        "  \"\"@  \n"
        "===@");
    EXPECT_EQ(sim.genos_vocabulary, "kinds of things");
    EXPECT_EQ(sim.short_description, "second");
    EXPECT_EQ(sim.parent, " x");
    EXPECT_EQ(sim.long_description, "indented\n\n  more");
    sim = sim_of("@* grammata *@\n@^()\n@\"\"\"\"@\n===@");
    EXPECT_EQ(sim.parent, "");
    EXPECT_EQ(sim.long_description, "");
    sim = sim_of("@* grammata *@\n@\"\" one line \"\"@ \n===@");
    EXPECT_EQ(sim.long_description, "one line");
    // A short description beginning with a double quote opens a long one, and
    // the opener followed by the sigil opens a multi-line one.
    sim = sim_of("@* grammata *@\n@\"\"quoted\" text\"@\nbody\n\"\"@\n===@");
    EXPECT_EQ(sim.long_description, "body");
    EXPECT_EQ(sim.short_description, std::nullopt);
    sim = sim_of("@* grammata *@\n@\"\"@\nbody\n\"\"@\n===@");
    EXPECT_EQ(sim.long_description, "body");
    sim = sim_of("@* grammata *@\n@\"   \"@\n===@");
    EXPECT_EQ(sim.short_description, "");
    // Backslash texts spell every keyword with the backslash.
    const auto d = parse(
        "\\\\\\!ilvex\n\\=== s\n\\# grammata #\\\n\\% v\n\\\"short\"\\\n\\^(p)\n\\\"\"\nlong\n\"\"\\\n===\\\n");
    ASSERT_TRUE(d) << error_message(d.error());
    sim = d->sims.at("#");
    EXPECT_EQ(sim.genos_vocabulary, "v");
    EXPECT_EQ(sim.short_description, "short");
    EXPECT_EQ(sim.parent, "p");
    EXPECT_EQ(sim.long_description, "long");
}

TEST(SimBlockMessages, AtTheirLines) {
    const char* i = "invalid dialektos definition: ";
    struct Case {
        std::string text;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"@@@!ilvex\n@=== bad name\n@* grammata *@\n===@",
         std::string("t.dia:2:1: ") + i +
             "sim name `bad name`: letters, digits, and hyphens only, beginning and ending alphanumeric"},
        {"@@@!ilvex\n@=== -a\n", std::string("t.dia:2:1: ") + i +
                                     "sim name `-a`: letters, digits, and hyphens only, beginning and ending "
                                     "alphanumeric"},
        {block("===@"), std::string("t.dia:3:1: ") + i + "sim `s`: ostensive definition must start with the sigil"},
        {"@@@!ilvex\n@=== s", std::string("t.dia:3:1: ") + i + "sim `s`: missing ostensive definition"},
        {block("\n \n"), std::string("t.dia:3:1: ") + i + "sim `s`: missing ostensive definition"},
        {block("\n@a grammata a@\n===@"), std::string("t.dia:4:1: ") + i + "sim `s`: empty symbol"},
        {block("@1(n)\n===@"), std::string("t.dia:3:1: ") + i + "sim `s`: empty symbol"},
        {block("@*{ grammata }*@\n===@"),
         std::string("t.dia:3:1: ") + i + "sim `s`: `{` and `}` are reserved and cannot appear in a symbol"},
        {block("@# stuff\ngrammata\n#@\n===@"),
         std::string("t.dia:3:1: ") + i + "sim `s`: unexpected header content `stuff`"},
        {block("@# [lemma=v\ngrammata\n#@\n===@"),
         std::string("t.dia:3:1: ") + i + "sim `s`: unexpected header content `[lemma=v`"},
        {block("@# lemma =v\ngrammata\n#@\n===@"),
         std::string("t.dia:3:1: ") + i + "sim `s`: unexpected header content `lemma =v`"},
        {block("@#(a b)\ngrammata\n#@\n===@"),
         std::string("t.dia:3:1: ") + i + "sim `s`: unexpected header content `a b)`"},
        {block("@#\ngrammata\n===@"), std::string("t.dia:3:1: ") + i + "sim `s`: episim line not found"},
        {block("@# bad\ngrammata\n===@"), std::string("t.dia:3:1: ") + i + "sim `s`: unexpected header content `bad`"},
        {block("@#\nautonym grammata\n#@\n===@"),
         std::string("t.dia:3:1: ") + i +
             "sim `s`: expected optional property keywords (`autonym`) followed by a `grammata` or `stichos` "
             "line in the ostensive definition"},
        {block("@#\n\n#@\n===@"),
         std::string("t.dia:3:1: ") + i +
             "sim `s`: expected optional property keywords (`autonym`) followed by a `grammata` or `stichos` "
             "line in the ostensive definition"},
        {block("@#\ngrammata\nautonym\n#@\n===@"),
         std::string("t.dia:3:1: ") + i +
             "sim `s`: expected optional property keywords (`autonym`) followed by a `grammata` or `stichos` "
             "line in the ostensive definition"},
        // The search for the episim line runs past the closing line.
        {block("@#\ngrammata\n===@\n@=== t\n@* grammata *@\n===@\n#@"),
         std::string("t.dia:3:1: ") + i +
             "sim `s`: expected optional property keywords (`autonym`) followed by a `grammata` or `stichos` "
             "line in the ostensive definition"},
        {block("@#\n grammata\n #@ note\n===@"),
         std::string("t.dia:5:1: ") + i + "sim `s`: unexpected episim-line content `note`"},
        {block("@#\nstichos\n#@ hypograph [hypograph]\n===@"),
         std::string("t.dia:5:1: ") + i + "sim `s`: unexpected episim-line content `hypograph [hypograph]`"},
        {block("@* grammata *@\n\n@\"x\n===@"), std::string("t.dia:5:1: ") + i + "sim `s`: malformed short description"},
        {block("@* grammata *@\n@\"@\n===@"), std::string("t.dia:4:1: ") + i + "sim `s`: malformed short description"},
        {block("@* grammata *@\n@^(x\n===@"), std::string("t.dia:4:1: ") + i + "sim `s`: malformed parent reference"},
        {block("@* grammata *@\n@^(\n===@"), std::string("t.dia:4:1: ") + i + "sim `s`: malformed parent reference"},
        {block("@* grammata *@\n@@/ comment\n===@"),
         std::string("t.dia:4:1: ") + i + "sim `s`: unexpected definition content `@@/ comment`"},
        {block("@* grammata *@\n@%\n===@"),
         std::string("t.dia:4:1: ") + i + "sim `s`: unexpected definition content `@%`"},
        {block("@* grammata *@\n\n@\"\"\nnever closed\n===@\n"),
         "t.dia:5:1: unmatched sim `@\"\"` (episim not found)"},
        {block("@* grammata *@\n@\"a\"@\n"), "t.dia:3:1: unmatched sim `@=== s` (episim not found)"},
        {"\\\\\\!ilvex\n\\=== s\n\\* grammata *\\\n===@\n",
         "t.dia:4:1: invalid dialektos definition: sim `s`: unexpected definition content `===@`"},
        {"\\\\\\!ilvex\n\\=== s\n\\* grammata *\\\n",
         "t.dia:3:1: unmatched sim `\\=== s` (episim not found)"},
        // Storing comes after the whole block was read.
        {"@@@!ilvex\n@=== a\n@* grammata *@\n===@\n@=== b\n@* grammata *@\n===@",
         "t.dia:5:1: conflicting definitions for sim symbol `*`"},
        {"@@@!ilvex\n@=== a\n@* grammata *@\n===@\n@=== b\n@* grammata *@\nstray\n===@",
         std::string("t.dia:7:1: ") + i + "sim `b`: unexpected definition content `stray`"},
    };
    for (const Case& c : cases) EXPECT_EQ(outcome(c.text), c.expected) << c.text;
}

TEST(SimBlockMessages, SharedNamesAreAllowed) {
    const auto d = parse("@@@!ilvex\n@=== a\n@* grammata *@\n===@\n@=== a\n@+ grammata +@\n===@");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->sims.size(), 2u);
}

TEST(SimBlockSymbols, LongRunsOfBracketsStayLinear) {
    const std::string symbol(200000, '(');
    const auto d = parse(block("@" + symbol + "(n)\n===@\n@=== t\n@" + std::string(200000, '[') + " grammata " +
                               std::string(200000, ']') + "@\n===@"));
    ASSERT_TRUE(d) << error_message(d.error());
    EXPECT_EQ(d->sims.size(), 2u);
    EXPECT_EQ(d->sims.begin()->second.form, SimForm(Monosim{"n"}));
}

TEST(SimBlockSymbols, AnEpisimSearchOverManyLinesStaysLinear) {
    std::string text = "@@@!ilvex\n@=== s\n@" + std::string(100000, '#') + "\n";
    for (int i = 0; i < 100000; ++i) text += std::string(100, '#') + "\n";
    EXPECT_EQ(outcome(text), "t.dia:3:1: invalid dialektos definition: sim `s`: episim line not found");
}

}  // namespace
}  // namespace ilvex
