#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include "endo/light_markup/next_occurrence.hpp"

namespace ilvex {
namespace {

// Answers do not depend on the order of the questions: a question that goes
// back, or lies past an earlier answer, is answered afresh.
TEST(NextOccurrence, AnswersInAnyOrder) {
    const std::string_view text = "a**b***c";
    const NextOccurrence pairs(text, "**");
    struct Case {
        std::size_t from, end;
        std::optional<std::size_t> expected;
    };
    const Case cases[] = {
        {0, 8, 1}, {2, 8, 4}, {5, 8, 5}, {1, 8, 1}, {6, 8, std::nullopt},
        {0, 1, std::nullopt},  // the pair at 1 does not start before 1
        {0, 2, 1}, {4, 5, 4}, {9, 8, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pairs.first(c.from, c.end), c.expected) << c.from << ".." << c.end;
    }
}

}  // namespace
}  // namespace ilvex
