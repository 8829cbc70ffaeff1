// The HTML import handed over as it is read: lists, divisions and block
// quotations in pieces, whatever their depth, give the text of the whole tree, and a
// sink that takes no pieces gets the same tree whole.
#include <gtest/gtest.h>

#include <string>

#include "dendron/document.hpp"
#include "endo/html/html_importer.hpp"
#include "local_dialektoi.hpp"
#include "round_trip.hpp"

namespace ilvex {
namespace {

using namespace ilvex::testing;

TEST(HtmlImport, ContainersInPiecesWriteWhatTheWholeTreeWrites) {
    const std::string cases[] = {
        "",
        "<div></div>",
        "<div class=\"a B c++\">\n  <p>x</p>\n</div>\n<p>after</p>",
        "<body>\n<div class=\"content\">\n<h1>T</h1>\n<div><blockquote>\n<p>q</p><div/>\n</blockquote></div>\n"
        "<ul><li><div><p>in an item</p></div></li></ul>\n<div class=\"verse\"><p class=\"strophe\">a<br/>b</p></div>\n"
        "<pre>x</pre><img src=\"a b\"><p>_@</p>\n</div>\n</body>",
        "<blockquote><blockquote><blockquote><p>>@</p></blockquote></blockquote></blockquote><blockquote/>",
        "<ol>\n  <li>a</li>\n  <li value=\"7\"><p>b</p><ul><li>c</li><li/></ul></li>\n  <li><div><p>d</p></div></li>\n</ol>"
        "<ul/><ol></ol>",
    };
    for (const std::string& html : cases) {
        const std::string failure = check_streamed_import(import_html, html, local_dialektoi().path());
        EXPECT_TRUE(failure.empty()) << failure << quoted("html", html);
    }
}

TEST(HtmlImport, CollectedContainersHoldTheirBlocks) {
    const Result<Document> imported = import_html("<div class=\"k\"> <p>a</p><blockquote><p>b</p></blockquote></div>");
    ASSERT_TRUE(imported.ok());
    Block::Para quote{false, ">", {}, {}, {}, {}, Taxis::absent()};
    quote.children.emplace_back(Block::Paragraph{{Inline::Text{"b"}}});
    Block::Para division{true, "_", {}, {}, {}, Suffix{std::nullopt, {"k"}}, Taxis::absent()};
    division.children.emplace_back(Block::Paragraph{{Inline::Text{"a"}}});
    division.children.emplace_back(std::move(quote));
    EXPECT_EQ(imported->blocks, std::vector<Block>{Block(std::move(division))});
}

}  // namespace
}  // namespace ilvex
