#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/reference_index.hpp"
#include "test_dialektos.hpp"

namespace ilvex {
namespace {

// "#" is also called "abschnitt" in German; "%" and "%%" share the name
// "dup", which therefore addresses neither.
Dialektos index_dialektos() {
    Dialektos dialektos = test::make_dialektos(
        "test", {test::para_sim("section", "#"), test::para_sim("dup", "%"), test::para_sim("dup", "%%"),
                 test::para_sim("paragraph", "§")});
    dialektos.glossae["de"] = {{"#", "abschnitt"}};
    return dialektos;
}

struct Query {
    std::string_view text;
    ReferenceKind kind;
    std::string_view key;
    std::uint64_t from;
    std::optional<std::uint64_t> line;
};

TEST(ReferenceIndex, FindsEachFormOnItsLine) {
    const Dialektos dialektos = index_dialektos();
    using enum ReferenceKind;
    const std::vector<Query> queries = {
        {"a\n@(\"ref:v1\") b", Milestone, "ref:v1", 0, 1},
        {"\\(\"ref:v1\")", Milestone, "ref:v1", 0, 0},
        {"@(\"ref:v1\" )", Milestone, "ref:v1", 0, std::nullopt},
        {"x @(top) y", Onym, "top", 0, 0},
        {"\\(top)", Onym, "top", 0, 0},
        {"@(to\np)", Onym, "to\np", 0, std::nullopt},
        {"@(to\np)", Onym, "to", 0, std::nullopt},
        {"@#(t1)", Deixis, "#(t1)", 0, 0},
        {"@%%(t1)@", Deixis, "%%(t1)", 0, 0},
        {"\n\n@§(t1)", Deixis, "§(t1)", 0, 2},
        {"@-§(t1)", Deixis, "-§(t1)", 0, 0},
        {"@§-(t1)", Deixis, "§-(t1)", 0, 0},
        {"@é(t1)", Deixis, "é(t1)", 0, std::nullopt},
        {"@(t1)", Deixis, "(t1)", 0, std::nullopt},
        {"@#x(t1)", Deixis, "#x(t1)", 0, std::nullopt},
        {"@#(t1", Deixis, "#(t1", 0, std::nullopt},
        {"@{section}(t1)", Deixis, "#(t1)", 0, 0},
        {"@{abschnitt}(t1)", Deixis, "#(t1)", 0, 0},
        {"@{dup}(t1)", Deixis, "%(t1)", 0, std::nullopt},
        {"@{nothing}(t1)", Deixis, "nothing(t1)", 0, std::nullopt},
        // The kinds are apart: an onym is no deixis and the other way round.
        {"@(t1) @#(t2)", Deixis, "t1", 0, std::nullopt},
        {"@(t1) @#(t2)", Onym, "#(t2)", 0, std::nullopt},
        // A sigil at the very end, or one byte before it.
        {"@#(t1)\n@", Deixis, "#(t1)", 0, 0},
        {"@#(t1)\n@#", Deixis, "#(t1)", 1, std::nullopt},
        {"", Onym, "top", 0, std::nullopt},
    };
    for (const Query& query : queries) {
        const ReferenceIndex index(query.text, dialektos);
        EXPECT_EQ(index.first_line(query.kind, query.key, query.from), query.line)
            << "'" << query.text << "' key '" << query.key << "' from " << query.from;
    }
}

// Thousands of keys over many blocks of 64 bytes, each key on every 700th
// line, so that the table grows and keys share their first slots: every
// query finds the key's first line at or after the cursor, wherever the
// cursor stands.
TEST(ReferenceIndex, FindsManyKeysAtEveryCursor) {
    constexpr std::uint64_t lines = 5000;
    constexpr std::uint64_t keys = 700;
    std::string text;
    for (std::uint64_t line = 0; line < lines; ++line) {
        const std::string key = std::to_string(line % keys);
        text += "line " + std::to_string(line) + " @(k" + key + ") and \\-(t" + key + ")";
        if (line % 3 == 0) text += " @*stress*@";
        text += '\n';
    }
    const ReferenceIndex index(text, index_dialektos());
    for (std::uint64_t key = 0; key < keys + 5; ++key) {
        for (const std::uint64_t from : {std::uint64_t{0}, key, key + 1, key + 2 * keys, key + 2 * keys + 1, lines}) {
            std::optional<std::uint64_t> expected;
            if (key < keys) {
                const std::uint64_t next = from <= key ? key : key + (from - key + keys - 1) / keys * keys;
                if (next < lines) expected = next;
            }
            const std::string number = std::to_string(key);
            EXPECT_EQ(index.first_line(ReferenceKind::Onym, "k" + number, from), expected) << key << " " << from;
            EXPECT_EQ(index.first_line(ReferenceKind::Deixis, "-(t" + number + ")", from), expected)
                << key << " " << from;
            EXPECT_EQ(index.first_line(ReferenceKind::Milestone, "k" + number, from), std::nullopt);
        }
    }
}

}  // namespace
}  // namespace ilvex
