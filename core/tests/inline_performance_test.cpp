// Hostile and bulky running text parses in linear time: a quadratic rescan
// of any of these inputs would take minutes, while the bound below leaves
// room for a sanitizer build on a slow machine.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "parser/concat.hpp"
#include "parser/inline_parser.hpp"
#include "repeated_text.hpp"
#include "test_dialektos.hpp"

namespace ilvex {
namespace {

constexpr auto time_bound = std::chrono::seconds(5);

const Dialektos& dialektos() {
    static const Dialektos d = [] {
        Dialektos built = test::make_dialektos(
            "bulk", {test::endo_sim("strong", "*"), test::endo_sim("section-break", "**"),
                     test::endo_sim("strong-emphasis", "*/"), test::para_sim("section", "#"),
                     test::mono_sim("ref", ">")});
        built.glossae["de"] = {{"*", "stark"}};
        return built;
    }();
    return d;
}

using testing::repeated;

// Parses `text` within the time bound; returns the number of top-level items
// or the error's text.
std::string timed_parse(const std::string& text) {
    const auto start = std::chrono::steady_clock::now();
    const auto items = parse_inline_text(test::parser_state(), dialektos(), text, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, time_bound) << text.substr(0, 40);
    if (!items) return error_message(items.error()).substr(0, 60);
    return std::to_string(items->size()) + " items";
}

TEST(InlinePerformance, ManyTokensParseInLinearTime) {
    EXPECT_EQ(timed_parse(repeated("@*a*@ ", 100'000)), "200000 items");
    EXPECT_EQ(timed_parse(repeated("@{stark}a{stark}@ ", 100'000)), "200000 items");
    EXPECT_EQ(timed_parse(repeated("@#(t).g @>(x) ", 50'000)), "200000 items");
    EXPECT_EQ(timed_parse(repeated("@@.a.@@ @@(:x:) @(a) ", 34'000)), "204000 items");
    EXPECT_EQ(timed_parse(repeated("a @@/ c\n", 100'000)), "1 items");
}

TEST(InlinePerformance, LongSymbolRunsParseInLinearTime) {
    const std::string run(1'000'000, '*');
    EXPECT_EQ(timed_parse(run), "1 items");
    EXPECT_EQ(timed_parse(concat({"@", run, "*@"})), "1 items");
    EXPECT_EQ(timed_parse(concat({"@", run})), "doc.ild:1:1000002: unmatched sim `@**` (episim not found)");
    EXPECT_EQ(timed_parse(concat({"@", std::string(1'000'000, '~')})).substr(0, 32),
              "doc.ild:1:1: undefined sim `@~~~");
}

TEST(InlinePerformance, UnterminatedFormsFailInLinearTime) {
    EXPECT_EQ(timed_parse(repeated("@(", 100'000)), "doc.ild:1:200001: unterminated onym anchor");
    EXPECT_EQ(timed_parse(repeated("@(\"", 100'000)), "doc.ild:1:300001: unterminated milestone");
    EXPECT_EQ(timed_parse(repeated("@@(", 100'000)),
              "doc.ild:1:300001: unterminated axioma reference");
    EXPECT_EQ(timed_parse(repeated("@{", 100'000)),
              "doc.ild:1:1: unterminated plerographic name reference");
    EXPECT_EQ(timed_parse(repeated("@{", 100'000) + "}").substr(0, 40),
              "doc.ild:1:1: undefined sim `{@{@{@{@{@{@");
    // Closers that never come, at the deepest nesting allowed.
    EXPECT_EQ(timed_parse(repeated("@*", max_inline_nesting) + std::string(1'000'000, '*')),
              "doc.ild:1:1000513: unmatched sim `@**` (episim not found)");
}

}  // namespace
}  // namespace ilvex
