#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialektos/lines.hpp"

namespace ilvex {
namespace {

TEST(StandardLines, SplitsAtLineFeedDroppingOneCarriageReturn) {
    const std::pair<std::string, std::vector<std::string_view>> cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"\n", {""}},
        {"\r\n", {""}},
        {"a\n\n", {"a", ""}},
        {"\n\nb", {"", "", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\r\nb", {"a\r", "b"}},
        {"a\rb", {"a\rb"}},
        {"a\r", {"a\r"}},
        {"a\nb\r", {"a", "b\r"}},
    };
    for (const auto& [text, lines] : cases) EXPECT_EQ(split_standard_lines(text), lines) << text;
}

}  // namespace
}  // namespace ilvex
