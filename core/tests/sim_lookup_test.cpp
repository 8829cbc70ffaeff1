#include <gtest/gtest.h>

#include "dialektos/sim_lookup.hpp"

#include <random>

#include "dialektos/lexical.hpp"
#include "dialektos/symbol_index.hpp"
#include "dialektos/unicode.hpp"

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

// The lookup as its rule reads: the leading run of symbol characters, then
// ever shorter prefixes of it, by whole characters as they are read from the
// start (a stray continuation byte reads as a character of its own), looked
// up exactly.
const SimDef* literal_longest_match(const Dialektos& d, std::string_view text) {
    const std::string_view run = text.substr(0, symbol_run_length(text));
    std::vector<std::size_t> ends;
    for (std::size_t i = 0; i < run.size();) {
        unicode::next_char(run, i);
        ends.push_back(i);
    }
    for (auto end = ends.rbegin(); end != ends.rend(); ++end) {
        if (const auto found = d.sims.find(run.substr(0, *end)); found != d.sims.end()) return &found->second;
    }
    return nullptr;
}

TEST(SymbolIndex, AgreesWithTheLiteralRule) {
    std::mt19937 random(11);
    // Symbol characters and others, ASCII and beyond (letters of two
    // scripts after an ASCII run, where the index answers without a search).
    const std::vector<std::string> pieces = {"*", "/", "=", "-", ".", "«", "»", "a", " ", "(",
                                             "\\", "\xC2", "\xA9", "é", "\u0915"};
    auto some_text = [&](std::size_t most) {
        std::string text;
        for (std::size_t n = random() % (most + 1); n > 0; --n) text += pieces[random() % pieces.size()];
        return text;
    };
    for (int round = 0; round < 300; ++round) {
        Dialektos d;
        for (int n = static_cast<int>(random() % 40); n > 0; --n) {
            std::string symbol = some_text(4);
            if (symbol.empty()) continue;
            SimDef sim;
            sim.symbol = symbol;
            d.sims.emplace(symbol, sim);
        }
        const SymbolIndex index(d);
        for (const auto& [symbol, sim] : d.sims) {
            ASSERT_EQ(index.closer(sim, '@'), episim_symbol(symbol, sim.mirrored) + "@") << symbol;
            ASSERT_EQ(index.closer(sim, '\\'), episim_symbol(symbol, sim.mirrored) + "\\") << symbol;
        }
        const SimDef other;
        ASSERT_EQ(index.closer(other, '@'), "");
        for (int probe = 0; probe < 100; ++probe) {
            const std::string text = some_text(7);
            ASSERT_EQ(index.longest_match(text), literal_longest_match(d, text)) << text;
            const auto exact = d.sims.find(text);
            ASSERT_EQ(index.find(text), exact == d.sims.end() ? nullptr : &exact->second) << text;
        }
    }
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
