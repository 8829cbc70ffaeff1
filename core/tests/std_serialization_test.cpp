#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "dialektos/memory_source.hpp"
#include "dialektos/resolution.hpp"
#include "dialektos/serialization.hpp"

namespace ilvex {
namespace {

std::string fixture(const std::string& id) {
    std::ifstream in(std::string(ILVEX_TEST_FIXTURES) + "/std/" + id + ".lektos", std::ios::binary);
    EXPECT_TRUE(in) << id;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The standard dialektoi whose every sim, description and vocabulary term is
// fixed text serialize to exactly the canonical texts kept as fixtures.
TEST(StdSerialization, FixedTextsByteForByte) {
    for (const char* id : {"il-djot", "il-prosa", "il-poesia", "il-org", "il-tei"}) {
        const auto d = resolve_from_sources(MemorySource(), id);
        ASSERT_TRUE(d) << id << ": " << error_message(d.error());
        EXPECT_EQ(serialize_dialektos(*d), fixture(id)) << id;
    }
}

}  // namespace
}  // namespace ilvex
