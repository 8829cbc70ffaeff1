#include <gtest/gtest.h>

#include <filesystem>

#include "definition_testing.hpp"
#include "dialektos/memory_source.hpp"
#include "dialektos/resolution.hpp"
#include "dialektos/serialization.hpp"
#include "dialektos/std_library.hpp"
#include "temp_directory.hpp"

namespace ilvex {
namespace {

using testing::TempDirectory;
using testing::TextSource;

using Files = std::map<std::string, std::string>;

std::string outcome(const Result<Dialektos>& resolved) {
    return resolved ? "ok" : error_message(resolved.error());
}

std::string resolve(const Files& files, std::string_view id) {
    return outcome(resolve_from_sources(MemorySource(files), id));
}

std::string one_sim(std::string_view name, std::string_view symbol) {
    return "@=== " + std::string(name) + "\n@" + std::string(symbol) + " grammata " + std::string(symbol) + "@\n===@\n";
}

TEST(Resolution, LocalFilesInOrder) {
    const Files files = {
        {"both.lektos", "@@@!ilvex\n" + one_sim("canonical", "!")},
        {"both.dia", "@@@!ilvex\n" + one_sim("working", "?")},
        {"work.dia", "@@@!ilvex\n@@:: both\n"},
    };
    const auto d = resolve_from_sources(MemorySource(files), "work");
    ASSERT_TRUE(d) << error_message(d.error());
    EXPECT_EQ(d->id, "work");
    EXPECT_EQ(d->sims.begin()->second.name, "canonical");
    EXPECT_EQ(resolve(files, "nosuch"), "cannot resolve dialektos `nosuch`: no local .lektos/.dia file");
    EXPECT_EQ(resolve({}, "nosuch"), "cannot resolve dialektos `nosuch`: no local .lektos/.dia file");
    // A failure inside a resolved file is located in it, by its bare name.
    EXPECT_EQ(resolve({{"x.dia", "@@@!ilvex\n\noops"}}, "x"),
              "x.dia:3:1: invalid dialektos definition: unexpected line: `oops`");
}

TEST(Resolution, TextsReadFromASourceAreNormalized) {
    // "e" and a combining acute: not a valid name until composed.
    const Files files = {
        {"x.dia", "@@@!ilvex\n" + one_sim("cafe\xCC\x81", "*")},
        {"x.fr.glossa", "@@@!ilvex-glossa\n@=x=>fr\n@* cre\xCC\x80me\n"},
    };
    const auto d = resolve_from_sources(MemorySource(files), "x");
    ASSERT_TRUE(d) << error_message(d.error());
    EXPECT_EQ(d->sims.at("*").name, "caf\xC3\xA9");
    EXPECT_EQ(d->glossae.at("fr").at("*"), "cr\xC3\xA8me");
}

TEST(Resolution, Cycles) {
    const char* cycle = "transclusion cycle through dialektos inheritance cycle through ";
    EXPECT_EQ(resolve({{"a.lektos", "@@@!ilvex\n\n@@:: a\n"}}, "a"), std::string("a.lektos:3:1: ") + cycle + "`a`");
    EXPECT_EQ(resolve({{"a.lektos", "@@@!ilvex\n@@:: b\n"}, {"b.dia", "@@@!ilvex\n\n\n@@:: a\n"}}, "a"),
              std::string("a.lektos:2:1: ") + cycle + "`a`");
    EXPECT_EQ(resolve({{"a.dia", "@@@!ilvex\n@@:: b\n"}, {"b.dia", "@@@!ilvex\n@@:: c\n"}, {"c.dia", "@@@!ilvex\n@@:: b\n"}},
                      "a"),
              std::string("a.dia:2:1: ") + cycle + "`b`");
    // A diamond is no cycle.
    EXPECT_EQ(resolve({{"a.dia", "@@@!ilvex\n@@:: b\n@@:: c\n"},
                       {"b.dia", "@@@!ilvex\n@@:: d :: [*]\n"},
                       {"c.dia", "@@@!ilvex\n@@:: d :: [+]\n"},
                       {"d.dia", "@@@!ilvex\n" + one_sim("star", "*") + one_sim("plus", "+")}},
                      "a"),
              "ok");
}

TEST(Resolution, ImportErrorsAreRelocatedToTheOutermostImportLine) {
    const Files files = {
        {"top.dia", "@@@!ilvex\n@@/ first\n@@:: mid\n"},
        {"mid.dia", "@@@!ilvex\n\n\n\n@@:: low\n"},
        {"low.dia", "@@@!ilvex\n" + one_sim("low", "*")},
        {"low.de.glossa", "@@@!ilvex-glossa\n@=low=>fr\n"},
        {"gone.dia", "@@@!ilvex\n@@:: nowhere\n"},
    };
    EXPECT_EQ(resolve(files, "top"),
              "top.dia:3:1: invalid dialektos definition: glossa: pair `@=low=>fr` does not match `low.de`");
    EXPECT_EQ(resolve(files, "low"), "invalid dialektos definition: glossa: pair `@=low=>fr` does not match `low.de`");
    EXPECT_EQ(resolve(files, "gone"), "gone.dia:2:1: cannot resolve dialektos `nowhere`: no local .lektos/.dia file");
}

TEST(Resolution, Glossae) {
    const std::string broken = "not a glossa";
    const Files files = {
        {"x.dia", "@@@!ilvex\n" + one_sim("star", "*")},
        {"x.de.glossa", "@@@!ilvex-glossa\n@=x=>de\n@* Stern\n"},
        {"x.fr.glossa", "@@@!ilvex-glossa\n@=x=>fr\n"},
        {"x.de.ch.glossa", broken},
        {"x..glossa", broken},
        {"x.glossa", broken},
        {"xy.de.glossa", broken},
        {"x.de.glossa.bak", broken},
        {"user.dia", "@@@!ilvex\n@@:: x\n"},
    };
    const auto d = resolve_from_sources(MemorySource(files), "x");
    ASSERT_TRUE(d) << error_message(d.error());
    EXPECT_EQ(d->glossae, (std::map<std::string, Glossa, std::less<>>{{"de", {{"*", "Stern"}}}, {"fr", {}}}));
    // An importing dialektos does not inherit them, and has none of its own.
    const auto user = resolve_from_sources(MemorySource(files), "user");
    ASSERT_TRUE(user);
    EXPECT_TRUE(user->glossae.empty());
    // The definition parser itself never collects glossae.
    ResolutionStack stack;
    const auto parsed = parse_definition(files.at("x.dia"), "x.dia", "x", MemorySource(files), stack);
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(parsed->glossae.empty());
}

TEST(Resolution, StandardDefinitionsResolveAndReadBack) {
    for (const StdDefinition& standard : std_definitions()) {
        const auto d = resolve_from_sources(MemorySource(), standard.id);
        ASSERT_TRUE(d) << standard.id << ": " << error_message(d.error());
        EXPECT_EQ(d->id, standard.id);
        EXPECT_TRUE(d->glossae.empty());
        const std::string written = serialize_dialektos(*d);
        const auto again = testing::parse(written);
        ASSERT_TRUE(again) << standard.id << ": " << error_message(again.error());
        EXPECT_EQ(again->sims, d->sims) << standard.id;
        EXPECT_EQ(again->vocabularies, d->vocabularies) << standard.id;
    }
}

TEST(Resolution, LocalFilesShadowStandardIdsEverywhere) {
    for (const StdDefinition& standard : std_definitions()) {
        const std::string id(standard.id);
        // The id itself, and no glossa is read for a standard definition.
        const auto local = resolve_from_sources(MemorySource({{id + ".dia", "@@@!ilvex\n"}}), id);
        ASSERT_TRUE(local) << id;
        EXPECT_TRUE(local->sims.empty()) << id;
        EXPECT_TRUE(resolve_from_sources(MemorySource({{id + ".de.glossa", "broken"}}), id)) << id;
        // The imports of a standard definition resolve through the source too,
        // and their failures are located in the standard text.
        const auto standard_one = resolve_from_sources(MemorySource(), id);
        ASSERT_TRUE(standard_one);
        for (const DialektosImport& imported : standard_one->imports) {
            const auto broken =
                resolve_from_sources(MemorySource({{imported.dialektos + ".lektos", "@@@!ilvex\nbroken\n"}}), id);
            ASSERT_FALSE(broken) << id;
            EXPECT_EQ(broken.error().location->path, "std:/" + id + ".dia");
            EXPECT_EQ(broken.error().payload, ErrorPayload(std::string("unexpected line: `broken`")));
        }
    }
}

// "d" and 7 give "d7".
std::string numbered(std::string prefix, int number) {
    prefix.append(std::to_string(number));
    return prefix;
}

// A chain d0 -> d1 -> ... of `length` definitions, the last with one sim.
Files import_chain(const std::string& prefix, int length) {
    Files files;
    for (int i = 0; i + 1 < length; ++i) {
        files[numbered(prefix, i) + ".dia"] = "@@@!ilvex\n@@:: " + numbered(prefix, i + 1) + "\n";
    }
    files[numbered(prefix, length - 1) + ".dia"] = "@@@!ilvex\n" + one_sim("end", "*");
    return files;
}

TEST(Resolution, ImportChainsAreBounded) {
    EXPECT_EQ(resolve(import_chain("d", 64), "d0"), "ok");
    EXPECT_EQ(resolve(import_chain("d", 65), "d0"),
              "d0.dia:2:1: invalid dialektos definition: import chain deeper than 64 dialektoi");
    EXPECT_EQ(resolve(import_chain("d", 10000), "d0"),
              "d0.dia:2:1: invalid dialektos definition: import chain deeper than 64 dialektoi");
    // A text handed in directly counts as the first of the chain.
    ResolutionStack stack("t");
    const auto parsed = parse_definition("@@@!ilvex\n@@:: d0\n", "t.dia", "t", MemorySource(import_chain("d", 63)), stack);
    EXPECT_TRUE(parsed) << error_message(parsed.error());
    ResolutionStack deeper("t");
    EXPECT_FALSE(parse_definition("@@@!ilvex\n@@:: d0\n", "t.dia", "t", MemorySource(import_chain("d", 64)), deeper));
}

TEST(Resolution, AReusedDialektosStillHonoursTheBound) {
    // x0 -> ... -> x29 resolves first near the top; reached again below a
    // chain of 40 it is too deep, exactly as it would be resolved afresh.
    Files files = import_chain("x", 30);
    for (int i = 1; i <= 40; ++i) {
        files[numbered("c", i) + ".dia"] = "@@@!ilvex\n@@:: " + (i < 40 ? numbered("c", i + 1) : "x0") + "\n";
    }
    files["fresh.dia"] = "@@@!ilvex\n@@:: c1\n";
    files["reused.dia"] = "@@@!ilvex\n@@:: x0\n@@:: c1\n";
    const std::string too_deep = ":1: invalid dialektos definition: import chain deeper than 64 dialektoi";
    EXPECT_EQ(resolve(files, "fresh"), "fresh.dia:2" + too_deep);
    EXPECT_EQ(resolve(files, "reused"), "reused.dia:3" + too_deep);
    // Shallow enough, the reuse succeeds.
    files["c20.dia"] = "@@@!ilvex\n@@:: x0 :-: [*]\n";
    EXPECT_EQ(resolve(files, "reused"), "ok");
}

TEST(Resolution, ADiamondOfThirtyLevelsResolvesEachDefinitionOnce) {
    Files files;
    const int levels = 30;
    for (int i = 0; i < levels; ++i) {
        const std::string next = numbered("n", i + 1);
        files[numbered("n", i) + ".dia"] = "@@@!ilvex\n@@:: " + next + " :: [*]\n@@:: " + next + " :: + +\n";
    }
    files[numbered("n", levels) + ".dia"] = "@@@!ilvex\n" + one_sim("star", "*") + one_sim("plus", "+");
    const TextSource source(files);
    const auto d = resolve_from_sources(source, "n0");
    ASSERT_TRUE(d) << error_message(d.error());
    EXPECT_EQ(d->sims.size(), 2u);
    // ".lektos" and ".dia" of each of the 31 ids, nothing more.
    EXPECT_EQ(source.reads(), 2 * (levels + 1));
    // Failures are still reported as resolving afresh reports them.
    files[numbered("n", levels) + ".dia"] = "@@@!ilvex\n" + one_sim("star", "*");
    EXPECT_EQ(resolve(files, "n0"), "n0.dia:2:1: undefined sim `+`");
}

class ResolutionOnDisk : public ::testing::Test {
protected:
    TempDirectory dir;
};

TEST_F(ResolutionOnDisk, FromADirectory) {
    dir.write("x.lektos", "@@@!ilvex\n" + one_sim("star", "*"));
    dir.write("x.de.glossa", "@@@!ilvex-glossa\n@=x=>de\n@* Stern\n");
    dir.write("bytes.dia", "@@@!ilvex\n\xff\n");
    dir.write("user.dia", "@@@!ilvex\n@@:: x\n\n@@:: bytes\n");
    std::filesystem::create_directory(dir / "dir.lektos");
    dir.write("dir.dia", "@@@!ilvex\n");
    std::filesystem::create_directory(dir / "sub");
    const auto d = resolve_from_dir(dir.path(), "x");
    ASSERT_TRUE(d) << error_message(d.error());
    EXPECT_EQ(d->glossae.at("de").at("*"), "Stern");
    EXPECT_EQ(outcome(resolve_from_dir(dir.path(), "bytes")), "input is not valid UTF-8");
    EXPECT_EQ(outcome(resolve_from_dir(dir.path(), "user")), "user.dia:4:1: input is not valid UTF-8");
    EXPECT_EQ(outcome(resolve_from_dir(dir.path(), "dir")), "ok");
    // A ".lektos" that cannot be used stops resolution: ".dia" is not tried.
    dir.write("both.lektos", "\xff");
    dir.write("both.dia", "@@@!ilvex\n");
    EXPECT_EQ(outcome(resolve_from_dir(dir.path(), "both")), "input is not valid UTF-8");
    // Ids never reach outside the directory.
    EXPECT_EQ(outcome(resolve_from_dir(dir / "sub", "../x")),
              "cannot resolve dialektos `../x`: no local .lektos/.dia file");
    EXPECT_EQ(outcome(resolve_from_dir(dir / "sub", dir / "x")),
              "cannot resolve dialektos `" + (dir / "x") + "`: no local .lektos/.dia file");
    const std::string with_nul("x\0", 2);
    EXPECT_FALSE(resolve_from_dir(dir.path(), with_nul));
}

TEST_F(ResolutionOnDisk, ParseDefinitionFile) {
    std::filesystem::create_directory(dir / "defs");
    dir.write("defs/base.dia", "@@@!ilvex\n" + one_sim("star", "*"));
    dir.write("defs/x.lektos", "@@@!ilvex\n" + one_sim("other", "+"));
    dir.write("defs/x.de.glossa", "not read");
    const std::string path = dir / "defs/x.lektos";
    auto d = parse_definition_file("@@@!ilvex\n@@:: base\n" + one_sim("cafe\xCC\x81", "~"), path);
    ASSERT_TRUE(d) << error_message(d.error());
    EXPECT_EQ(d->id, "x");
    EXPECT_EQ(d->sims.size(), 2u);
    EXPECT_EQ(d->sims.at("~").name, "caf\xC3\xA9");
    EXPECT_TRUE(d->glossae.empty());
    EXPECT_EQ(outcome(parse_definition_file("@@@!ilvex\n\n@@:: x\n", path)),
              path + ":3:1: transclusion cycle through dialektos inheritance cycle through `x`");
    EXPECT_EQ(outcome(parse_definition_file("@@@!ilvex\nbad", path)),
              path + ":2:1: invalid dialektos definition: unexpected line: `bad`");
    // Without a directory part the current directory is used.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir / "defs");
    d = parse_definition_file("@@@!ilvex\n@@:: base\n", "doc.ild");
    const auto from_current = resolve_from_dir("", "x");
    std::filesystem::current_path(previous);
    ASSERT_TRUE(d) << error_message(d.error());
    EXPECT_EQ(d->id, "doc");
    EXPECT_EQ(d->sims.count("*"), 1u);
    EXPECT_EQ(outcome(from_current), "invalid dialektos definition: glossa: missing `@@@!ilvex-glossa` declaration");
}

}  // namespace
}  // namespace ilvex
