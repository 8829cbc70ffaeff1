#include <gtest/gtest.h>

#include "dialektos/sim_lookup.hpp"

namespace ilvex {
namespace {

Dialektos with_symbols(std::initializer_list<const char*> symbols) {
    Dialektos d;
    for (const char* symbol : symbols) {
        SimDef sim;
        sim.name = std::string("sim-") + std::to_string(d.sims.size());
        sim.symbol = symbol;
        d.sims.emplace(symbol, sim);
    }
    return d;
}

std::string match(const Dialektos& d, std::string_view text) {
    const SimDef* sim = longest_symbol_match(d, text);
    return sim ? sim->symbol : "<none>";
}

TEST(LongestSymbolMatch, PrefersTheLongestPrefixOfTheRun) {
    EXPECT_EQ(match(with_symbols({"*", "**"}), "**a"), "**");
    EXPECT_EQ(match(with_symbols({"*"}), "**a"), "*");
    EXPECT_EQ(match(with_symbols({"***"}), "**a"), "<none>");
    // A symbol that continues past the run never matches.
    EXPECT_EQ(match(with_symbols({"*", "*a"}), "*a"), "*");
    EXPECT_EQ(match(with_symbols({"#", "#_", "##", "###"}), "##_x"), "##");
    EXPECT_EQ(match(with_symbols({"=", "=#=", "==="}), "=#==x"), "=#=");
    EXPECT_EQ(match(with_symbols({"-", "--", "-.", ".-"}), "-.-"), "-.");
}

TEST(LongestSymbolMatch, NothingOutsideASymbolRun) {
    const Dialektos d = with_symbols({"*", "#"});
    for (const char* text : {"a*", "1*", " *", "@*", "\\*", ""}) EXPECT_EQ(match(d, text), "<none>") << text;
    EXPECT_EQ(match(Dialektos{}, "***"), "<none>");
}

TEST(LongestSymbolMatch, ShortensByWholeCharacters) {
    const Dialektos d = with_symbols({"«", "«»", "\xC2"});
    EXPECT_EQ(match(d, "«»x"), "«»");
    EXPECT_EQ(match(d, "«x"), "«");
    EXPECT_EQ(match(d, "««"), "«");
}

TEST(LongestSymbolMatch, LongRunsCostLittle) {
    const Dialektos d = with_symbols({"*", "**", "*/"});
    const std::string run(1'000'000, '*');
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(match(d, run), "**");
}

TEST(SimByName, FindsNamesAndGlossaNames) {
    Dialektos d = with_symbols({"#", "*"});
    d.sims["#"].name = "section";
    d.sims["*"].name = "strong";
    d.glossae["de"] = {{"#", "abschnitt"}, {"*", "strong"}};  // repeats its own name
    EXPECT_EQ(sim_by_name(d, "section").sim->symbol, "#");
    EXPECT_EQ(sim_by_name(d, "abschnitt").sim->symbol, "#");
    EXPECT_EQ(sim_by_name(d, "strong").outcome, NameLookup::Outcome::Found);
    EXPECT_EQ(sim_by_name(d, "Section").outcome, NameLookup::Outcome::NotFound);

    d.glossae["fr"] = {{"#", "strong"}};  // another sim's name, in any language
    EXPECT_EQ(sim_by_name(d, "strong").outcome, NameLookup::Outcome::Ambiguous);

    Dialektos twins = with_symbols({"a*", "b*"});
    twins.sims["a*"].name = twins.sims["b*"].name = "same";
    EXPECT_EQ(sim_by_name(twins, "same").outcome, NameLookup::Outcome::Ambiguous);
}

}  // namespace
}  // namespace ilvex
