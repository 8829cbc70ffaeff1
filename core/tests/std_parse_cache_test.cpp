#include <gtest/gtest.h>

#include <map>
#include <string>

#include "dialektos/definition_parser.hpp"
#include "dialektos/memory_source.hpp"
#include "dialektos/resolution.hpp"
#include "dialektos/std_library.hpp"
#include "dialektos/std_parse_cache.hpp"

namespace ilvex {
namespace {

using Files = std::map<std::string, std::string>;

std::string outcome(const Result<Dialektos>& resolved) {
    return resolved ? "ok" : error_message(resolved.error());
}

// Every embedded text as a local file: a source under which each standard
// definition is parsed afresh, to what the shared parse must equal.
Files local_copies_of_std() {
    Files files;
    for (const StdDefinition& standard : std_definitions()) {
        files[std::string(standard.id) + ".dia"] = std::string(standard.text);
    }
    return files;
}

TEST(StdParseCache, SharedParsesEqualFreshOnes) {
    const MemorySource fresh(local_copies_of_std());
    for (const StdDefinition& standard : std_definitions()) {
        const std::string id(standard.id);
        const auto expected = resolve_from_sources(fresh, id);
        ASSERT_TRUE(expected) << id << ": " << error_message(expected.error());
        const StdParse* shared = std_parse(id);
        ASSERT_NE(shared, nullptr) << id;
        EXPECT_EQ(shared->dialektos, *expected) << id;
        for (int call = 0; call < 2; ++call) {
            const auto resolved = resolve_from_sources(MemorySource(), id);
            ASSERT_TRUE(resolved) << id;
            EXPECT_EQ(*resolved, *expected) << id;
        }
    }
    EXPECT_EQ(std_parse("nosuch"), nullptr);
    EXPECT_EQ(std_parse("litogramma")->closure,
              (std::vector<std::string>{"il-drama", "il-poesia", "il-prosa", "koine", "litogramma"}));
    EXPECT_EQ(std_parse("litogramma")->height, 2u);
    EXPECT_EQ(std_parse("koine")->height, 1u);
}

TEST(StdParseCache, LocalFilesStillWinOnceBuilt) {
    ASSERT_TRUE(resolve_from_sources(MemorySource(), "litogramma"));
    const std::string local_koine = "@@@!ilvex\n@=== local\n@&&&& grammata &&&&@\n===@\n";
    const auto shadowed = resolve_from_sources(MemorySource(Files{{"koine.dia", local_koine}}), "litogramma");
    ASSERT_TRUE(shadowed) << error_message(shadowed.error());
    EXPECT_EQ(shadowed->sims.at("&&&&").name, "local");
    EXPECT_EQ(shadowed->sims.count("="), 0u);  // std koine's title
    EXPECT_EQ(std_parse("litogramma")->dialektos.sims.count("&&&&"), 0u);

    const auto own = resolve_from_sources(MemorySource(Files{{"litogramma.lektos", local_koine}}), "litogramma");
    ASSERT_TRUE(own);
    EXPECT_EQ(own->sims.size(), 1u);
    EXPECT_EQ(outcome(resolve_from_sources(MemorySource(Files{{"il-prosa.lektos", "@@@!ilvex\nbroken\n"}}), "litogramma")),
              "std:/litogramma.dia:8:1: invalid dialektos definition: unexpected line: `broken`");
}

// The shared parse must not hide what the stack of the call makes of it.
TEST(StdParseCache, CyclesAndTheDepthBoundStillApply) {
    ResolutionStack cycle("koine");
    const auto cyclic = parse_definition("@@@!ilvex\n@@:: litogramma\n", "koine.dia", "koine", MemorySource(), cycle);
    ASSERT_FALSE(cyclic);
    EXPECT_EQ(error_message(cyclic.error()),
              "koine.dia:2:1: transclusion cycle through dialektos inheritance cycle through `koine`");

    // litogramma needs two levels: below 62 others it fits, below 63 it does not.
    for (const std::size_t above : {62u, 63u}) {
        ResolutionStack stack;
        for (std::size_t i = 0; i < above; ++i) stack.push(std::to_string(i));
        const auto kept = resolve_kept_dialektos(MemorySource(), "litogramma", stack);
        if (above == 62) {
            ASSERT_TRUE(kept) << error_message(kept.error());
            EXPECT_EQ(*kept, &std_parse("litogramma")->dialektos);
        } else {
            ASSERT_FALSE(kept);
            EXPECT_EQ(error_message(kept.error()),
                      "std:/litogramma.dia:7:1: invalid dialektos definition: import chain deeper than 64 dialektoi");
        }
        // The height of what was imported reaches the importer either way.
        EXPECT_EQ(stack.pop(), above == 62 ? 3u : 1u);
    }
}

}  // namespace
}  // namespace ilvex
