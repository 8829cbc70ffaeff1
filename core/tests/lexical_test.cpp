#include <gtest/gtest.h>

#include "dialektos/lexical.hpp"

namespace ilvex {
namespace {

TEST(Lexical, SymbolCharacters) {
    for (char32_t c : {U'a', U'é', U'٣', U' ', U'\u00A0', U'@', U'\\', U'Z', U'7', U'\u2003'}) {
        EXPECT_FALSE(is_symbol_char(c)) << static_cast<unsigned>(c);
    }
    for (char32_t c : {U'*', U'~', U'{', U'}', U'«', U'\0', U'#', U'=', U'\u2014'}) {
        EXPECT_TRUE(is_symbol_char(c)) << static_cast<unsigned>(c);
    }
    EXPECT_EQ(symbol_run_length("**a"), 2u);
    EXPECT_EQ(symbol_run_length("«»x"), 4u);  // two 2-byte characters
    EXPECT_EQ(symbol_run_length("a*"), 0u);
}

struct PredicateCase {
    const char* text;
    bool valid;
};

TEST(Lexical, Names) {
    const PredicateCase cases[] = {
        {"a", true},   {"x-1", true}, {"a--b", true}, {"λόγος", true}, {"", false},
        {"-a", false}, {"a-", false}, {"a_b", false}, {"a b", false},  {"a.b", false},
    };
    for (const auto& c : cases) EXPECT_EQ(is_valid_name(c.text), c.valid) << c.text;
}

TEST(Lexical, Onyms) {
    const PredicateCase cases[] = {
        {"a:1", true},  {"sec-2.1", true}, {"gen:1:3", true}, {"a_b", true},  {"a:", false},
        {":a", false},  {"-a", false},     {"a--b", false},   {"a.", false},  {"a..b", false},
        {"a b", false}, {"", false},       {"ü-1", true},
    };
    for (const auto& c : cases) EXPECT_EQ(is_valid_onym(c.text), c.valid) << c.text;
}

TEST(Lexical, Genoses) {
    const PredicateCase cases[] = {
        {"x", true},    {"x2", true},    {"note", true}, {"verse-2", true}, {"ébauche", true},
        {"ª", true},    {"2", false},    {"Note", false}, {"2nd", false},   {"-x", false},
        {"x-", false},  {"x--y", false}, {"x_y", false}, {"", false},       {"xÉ", false},
    };
    for (const auto& c : cases) EXPECT_EQ(is_valid_genos(c.text), c.valid) << c.text;
}

TEST(Lexical, MilestoneValues) {
    const PredicateCase cases[] = {
        {"gen.1.1", true}, {"p12|p13", true}, {"^|gen.1.1", true}, {"", false}, {"^|", false},
        {"a|", false},     {"|a", false},     {"a||b", false},     {"^", false}, {"^|a|b", true},
    };
    for (const auto& c : cases) EXPECT_EQ(is_valid_milestone_value(c.text), c.valid) << c.text;
}

TEST(Lexical, Episims) {
    EXPECT_EQ(episim_symbol("<*", true), "*>");
    EXPECT_EQ(episim_symbol("<*", false), "*<");
    EXPECT_EQ(episim_symbol("{verse}", true), "{verse}");
    EXPECT_EQ(episim_symbol("", false), "");
    EXPECT_EQ(episim_symbol("({", true), "})");
    EXPECT_EQ(episim_symbol("{", true), "}");
    EXPECT_EQ(episim_symbol("<", false), "<");
    EXPECT_EQ(episim_symbol("*", true), "*");
    EXPECT_EQ(episim_symbol("[(", true), ")]");
    EXPECT_EQ(episim_symbol("«—", true), "—«");  // multi-byte characters stay whole
}

}  // namespace
}  // namespace ilvex
