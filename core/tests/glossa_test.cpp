#include <gtest/gtest.h>

#include "definition_testing.hpp"
#include "dialektos/glossa.hpp"

namespace ilvex {
namespace {

Dialektos poems() {
    auto d = testing::parse("@@@!ilvex\n@=== chapter\n@# grammata #@\n===@\n@=== verse\n@~ grammata ~@\n===@\n");
    EXPECT_TRUE(d);
    d->id = "poems";
    return *d;
}

std::string outcome(std::string_view text, const Dialektos& d = poems()) {
    const auto glossa = parse_glossa(text, d, "de");
    return glossa ? "ok" : error_message(glossa.error());
}

TEST(Glossa, ReadsEntries) {
    const auto glossa = parse_glossa(
        "#!x\n  @@@!ilvex-glossa \r\n@@/ comment\n\n@= poems => de\r\n@@/ more\n@# Kapitel\n\n@~\t Vers \n",
        poems(), "de");
    ASSERT_TRUE(glossa) << error_message(glossa.error());
    EXPECT_EQ(*glossa, (Glossa{{"#", "Kapitel"}, {"~", "Vers"}}));
    // A name equal to another sim's own name is accepted here.
    EXPECT_EQ(outcome("@@@!ilvex-glossa\n@=poems=>de\n@# verse\n"), "ok");
    EXPECT_EQ(outcome("@@@!ilvex-glossa\n@=poems=>de\n"), "ok");
}

TEST(Glossa, Messages) {
    const std::string g = "invalid dialektos definition: glossa: ";
    struct Case {
        const char* text;
        std::string expected;
    };
    const Case cases[] = {
        {"", g + "missing `@@@!ilvex-glossa` declaration"},
        {"\n@@@!ilvex-glossa\n@=poems=>de", g + "missing `@@@!ilvex-glossa` declaration"},
        {"#!x", g + "missing `@@@!ilvex-glossa` declaration"},
        {"@@@!ilvex-glossa x\n@=poems=>de", g + "missing `@@@!ilvex-glossa` declaration"},
        {"@@@!ilvex", g + "missing `@@@!ilvex-glossa` declaration"},
        {"@@@!ilvex-glossa", g + "missing pair declaration"},
        {"@@@!ilvex-glossa\n\n@@/ only comments\n", g + "missing pair declaration"},
        {"@@@!ilvex-glossa\n@# Kapitel", g + "expected the `@=<dialektos>=><lang>` pair, found `@# Kapitel`"},
        {"@@@!ilvex-glossa\n#!x\n@=poems=>de", g + "expected the `@=<dialektos>=><lang>` pair, found `#!x`"},
        {"@@@!ilvex-glossa\n@=poems->de", g + "malformed pair `@=poems->de` (expected `=>`)"},
        {"@@@!ilvex-glossa\n@=poems=>fr", g + "pair `@=poems=>fr` does not match `poems.de`"},
        {"@@@!ilvex-glossa\n@=Poems=>de", g + "pair `@=Poems=>de` does not match `poems.de`"},
        {"@@@!ilvex-glossa\n@=poems=>de\n#!x", g + "unexpected line: `#!x`"},
        {"@@@!ilvex-glossa\n@=poems=>de\n# Kapitel", g + "unexpected line: `# Kapitel`"},
        {"@@@!ilvex-glossa\n@=poems=>de\n@#Kapitel", g + "malformed name line: `@#Kapitel`"},
        {"@@@!ilvex-glossa\n@=poems=>de\n@", g + "malformed name line: `@`"},
        {"@@@!ilvex-glossa\n@=poems=>de\n@=poems=>de", g + "malformed name line: `@=poems=>de`"},
        {"@@@!ilvex-glossa\n@=poems=>de\n@# Erstes Kapitel",
         g + "name `Erstes Kapitel` for `#`: letters, digits, and hyphens only, beginning and ending alphanumeric"},
        {"@@@!ilvex-glossa\n@=poems=>de\n@* Stern", g + "`*` is not defined in dialektos `poems`"},
        {"@@@!ilvex-glossa\n@=poems=>de\n@ Leer", g + "`` is not defined in dialektos `poems`"},
        {"@@@!ilvex-glossa\n@=poems=>de\n@# Kapitel\n@# Teil", g + "duplicate entry for `#`"},
        {"@@@!ilvex-glossa\n@=poems=>de\n@# Kapitel\n@~ Kapitel", g + "name `Kapitel` is shared by `#` and `~`"},
    };
    for (const Case& c : cases) EXPECT_EQ(outcome(c.text), c.expected) << c.text;
    Dialektos empty;
    empty.id = "poems";
    EXPECT_EQ(outcome("@@@!ilvex-glossa\n@=poems=>de\n@# Kapitel", empty),
              g + "`#` is not defined in dialektos `poems`");
    EXPECT_EQ(glossa_error("x").location, std::nullopt);
}

}  // namespace
}  // namespace ilvex
