// The djot importer on inputs made of its own markup, at random: it fails
// only with its own two messages, and what it builds is written as a
// document that reads back and that brachy gives back unchanged, the same
// text whether written whole or block by block.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <string_view>

#include "dialektos/error.hpp"
#include "endo/light_markup/djot_importer.hpp"
#include "local_dialektoi.hpp"
#include "round_trip.hpp"

namespace ilvex {
namespace {

using namespace ilvex::testing;

TEST(DjotImport, RandomInputImportsCleanly) {
    const std::string_view alphabet[] = {
        "#", "# ", ">", "> ", "- ", "1. ", "2) ", "[", "]", "(", ")", "![", "[^", "*", "_", "`",
        "```", "<", "a:b", "\\", " ", "  ", "\n", "\n\n", "\r", "\"@@", "\"@@@", "@", "|", "x",
        "Py", "\u00A0", "\t", "e\xCC\x81", "'", "{", "."};
    const std::string unterminated = "missing or unreadable resource: djot import: unterminated code fence";
    std::mt19937 random(11);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 1);
    std::uniform_int_distribution<int> length(1, 40);
    for (int round = 0; round < 5'000; ++round) {
        std::string djot;
        for (int n = length(random); n > 0; --n) djot += alphabet[pick(random)];
        const Result<Document> imported = import_djot(djot);
        if (!imported) {
            ASSERT_EQ(error_message(imported.error()), unterminated) << djot;
            continue;
        }
        const std::string failure = check_streamed_import(import_djot, djot, local_dialektoi().path());
        ASSERT_EQ(failure, "") << "input: " << djot;
    }
}

}  // namespace
}  // namespace ilvex
