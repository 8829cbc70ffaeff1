// The djot and Org importers on inputs made of their own markup, at random:
// each fails only with its own messages, and what it builds is written as a
// document that reads back and that brachy gives back unchanged, the same
// text whether written whole or block by block.
#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "dialektos/error.hpp"
#include "endo/light_markup/djot_importer.hpp"
#include "endo/light_markup/org_importer.hpp"
#include "local_dialektoi.hpp"
#include "round_trip.hpp"

namespace ilvex {
namespace {

using namespace ilvex::testing;

// Texts of up to 40 pieces of `alphabet`; a failure must begin with one of
// `messages`.
void expect_random_imports_clean(StreamingImporter importer, const std::vector<std::string_view>& alphabet,
                                 std::initializer_list<std::string_view> messages, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(1, 40);
    for (int round = 0; round < 5'000; ++round) {
        std::string text;
        for (int n = length(random); n > 0; --n) text += alphabet[pick(random)];
        DocumentCollector collector;
        if (Status imported = importer(text, collector); !imported) {
            const std::string message = error_message(imported.error());
            bool known = false;
            for (const std::string_view expected : messages) known = known || message.starts_with(expected);
            ASSERT_TRUE(known) << message << "\ninput: " << text;
            continue;
        }
        const std::string failure = check_streamed_import(importer, text, local_dialektoi().path());
        ASSERT_EQ(failure, "") << "input: " << text;
    }
}

TEST(DjotImport, RandomInputImportsCleanly) {
    expect_random_imports_clean(
        import_djot,
        {"#", "# ", ">", "> ", "- ", "1. ", "2) ", "[", "]", "(", ")", "![", "[^", "*", "_", "`", "```",
         "<", "a:b", "\\", " ", "  ", "\n", "\n\n", "\r", "\"@@", "\"@@@", "@", "|", "x", "Py",
         "\u00A0", "\t", "e\xCC\x81", "'", "{", "."},
        {"missing or unreadable resource: djot import: unterminated code fence"}, 11);
}

TEST(OrgImport, RandomInputImportsCleanly) {
    expect_random_imports_clean(
        import_org,
        {"*", "* ", "** ", "#+", "#+TITLE: ", "#+BEGIN_SRC py\n", "#+END_SRC\n", "#+BEGIN_QUOTE\n",
         "#+END_QUOTE\n", "#+begin_verse\n", "#+end_verse\n", "#+BEGIN_EXAMPLE\n", "#+END_EXAMPLE\n",
         "| ", "|", "[fn:1] ", "[fn:", "]", "- ", " :: ", "1. ", "2) ", "[[", "][", "]]", "/", "_", "+",
         "=", "~", " ", "  ", "\n", "\n\n", "\r", "\"@@", "\"@@@", "@", "\\", "x", "\u00A0", "\t",
         "e\xCC\x81", "(", "{"},
        {"missing or unreadable resource: org import: unterminated #+BEGIN_",
         "missing or unreadable resource: org import: unsupported block `#+"},
        13);
}

}  // namespace
}  // namespace ilvex
