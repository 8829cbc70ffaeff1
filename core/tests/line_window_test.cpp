#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "endo/light_markup/line_window.hpp"
#include "dialektos/lines.hpp"

namespace ilvex {
namespace {

// Read as the Markdown importer reads: each line narrowed in place once
// reached, the next line looked at (which may split it), and the lines
// before the current one dropped. The lines read must be those of the
// standard split, each keeping its narrowing while later lines are split.
TEST(LineWindow, SplitsAsTheStandardSplitWhileTheReaderDrops) {
    std::string many;
    for (int k = 0; k < 100; ++k) many += k % 3 == 0 ? "\r\n" : "line " + std::to_string(k) + "\n";
    const std::string texts[] = {"",       "a",         "a\n",     "\n",      "\r\n",
                                 "a\n\n",  "\n\nb",     "a\r\nb\r\n", "a\r\r\nb", "a\rb",
                                 "a\r",    "a\nb\r",    many};
    for (const std::string& text : texts) {
        std::vector<std::string> expected;
        for (const std::string_view line : split_standard_lines(text)) {
            expected.emplace_back(line.substr(line.empty() ? 0 : 1));
        }
        LineWindow window(text);
        std::vector<std::string> read;
        for (std::size_t i = 0; window.has(i); ++i) {
            if (!window[i].empty()) window[i].remove_prefix(1);
            window.has(i + 1);
            read.emplace_back(window[i]);
            window.drop_before(i);
        }
        EXPECT_EQ(read, expected) << text;
    }
}

}  // namespace
}  // namespace ilvex
