#include <gtest/gtest.h>

#include "dialektos/std_library.hpp"

namespace ilvex {
namespace {

TEST(StdLibrary, TableOrderAndLookup) {
    const std::vector<std::string> expected = {
        "il-djot", "koine",  "il-prosa", "il-poesia", "il-drama", "il-docbook",  "il-html",
        "il-markdown", "il-org", "il-rst", "il-tei", "il-usfm", "litogramma", "bibliogramma"};
    EXPECT_EQ(std_dialektos_ids(), expected);
    ASSERT_NE(find_std_definition("il-html"), nullptr);
    EXPECT_EQ(find_std_definition("il-html")->id, "il-html");
    EXPECT_EQ(find_std_definition("IL-HTML"), nullptr);
    EXPECT_EQ(find_std_definition(" il-html"), nullptr);
    EXPECT_EQ(find_std_definition(""), nullptr);
}

TEST(StdLibrary, TextsAreEmbeddedByteForByte) {
    for (const StdDefinition& definition : std_definitions()) {
        EXPECT_TRUE(definition.text.starts_with("@@@!ilvex\n")) << definition.id;
        EXPECT_TRUE(definition.text.ends_with("\n")) << definition.id;
        EXPECT_EQ(definition.text.find('\r'), std::string_view::npos) << definition.id;
        EXPECT_EQ(definition.text.find('\0'), std::string_view::npos) << definition.id;
    }
}

}  // namespace
}  // namespace ilvex
