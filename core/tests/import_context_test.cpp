#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "dialektos/error.hpp"
#include "endo/import_context.hpp"
#include "endo/import_errors.hpp"

namespace ilvex {
namespace {

// A converter recursing once per nested element, as the XML importers do.
Status open_nested(ImportContext& context, std::size_t levels) {
    if (levels == 0) return {};
    auto level = context.enter();
    if (!level) return level.error();
    return open_nested(context, levels - 1);
}

TEST(ImportContext, NestingBoundedAt256Levels) {
    ImportContext context(jats_import_error);
    EXPECT_TRUE(open_nested(context, 256).ok());
    EXPECT_EQ(context.nesting.open(), 0u);  // every level closed on the way out
    const Status deeper = open_nested(context, 257);
    ASSERT_FALSE(deeper.ok());
    EXPECT_EQ(error_message(deeper.error()),
              "missing or unreadable resource: jats import: nesting deeper than 256 levels");
    EXPECT_EQ(context.nesting.open(), 0u);  // also after the failure
    EXPECT_TRUE(open_nested(context, 256).ok());
}

TEST(NestingDepth, LevelsCloseOnceWhenMovedOrHeld) {
    NestingDepth depth;
    {
        std::vector<NestingDepth::Level> levels;
        for (int i = 0; i < 256; ++i) levels.push_back(*depth.enter());
        EXPECT_EQ(depth.open(), 256u);
        EXPECT_EQ(depth.enter(), std::nullopt);
        levels.pop_back();
        EXPECT_EQ(depth.open(), 255u);
        EXPECT_TRUE(depth.enter().has_value());  // opened and closed again at once
        EXPECT_EQ(depth.open(), 255u);
    }
    EXPECT_EQ(depth.open(), 0u);
}

TEST(ImportContext, IdentifiersThatCannotBeWrittenFailTheImport) {
    const ImportContext context(tei_import_error);
    EXPECT_EQ(*context.onym("sec-2.1"), "sec-2.1");
    const char* invalid[] = {"", "a b", "-a", "a..b", "a."};
    for (const char* onym : invalid) {
        const auto got = context.onym(onym);
        ASSERT_FALSE(got.ok()) << onym;
        EXPECT_EQ(error_message(got.error()),
                  std::string("missing or unreadable resource: tei import: invalid identifier `") +
                      onym + "`");
    }
    EXPECT_TRUE(context.check_milestone("page", "12").ok());
    EXPECT_TRUE(context.check_milestone("perseus", "card:7").ok());
    const ImportContext html(html_import_error);
    EXPECT_EQ(error_message(html.check_milestone("Page", "12").error()),
              "html import: invalid identifier `Page`");
    EXPECT_EQ(error_message(html.check_milestone("page", "a..b").error()),
              "html import: invalid identifier `a..b`");
    EXPECT_EQ(error_message(html.check_milestone("", "").error()),
              "html import: invalid identifier ``");
}

}  // namespace
}  // namespace ilvex
