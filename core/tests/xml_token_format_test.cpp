#include <gtest/gtest.h>

#include <string>

#include "endo/xml/xml_token.hpp"

namespace ilvex {
namespace {

TEST(FormatXmlToken, EachKind) {
    const std::pair<XmlToken, std::string> cases[] = {
        {XmlOpen{"table", {}, false}, R"(Open { name: "table", attrs: [], self_closing: false })"},
        {XmlOpen{"p", {{"rend", "it"}}, false},
         R"(Open { name: "p", attrs: [("rend", "it")], self_closing: false })"},
        {XmlOpen{"br", {{"a", "1"}, {"b", ""}}, true},
         R"(Open { name: "br", attrs: [("a", "1"), ("b", "")], self_closing: true })"},
        {XmlOpen{"", {}, false}, R"(Open { name: "", attrs: [], self_closing: false })"},
        {XmlClose{"p"}, R"(Close("p"))"},
        {XmlClose{""}, R"(Close(""))"},
        {XmlText{"\n  "}, R"(Text("\n  "))"},
    };
    for (const auto& [token, text] : cases) EXPECT_EQ(format_xml_token(token), text);
}

// What a quoted string keeps and what it escapes, shown in a Text token and
// in the three strings of an Open token.
TEST(FormatXmlToken, QuotedStrings) {
    const std::pair<std::string, std::string> cases[] = {
        {"say \"hi\" \\ it's", R"("say \"hi\" \\ it's")"},
        {std::string("\r\t\0|\n", 5), R"("\r\t\0|\n")"},
        {"\x1B\x7F", R"("\u{1b}\u{7f}")"},
        {"a\u00A0b", R"("a\u{a0}b")"},                      // no-break space
        {"e\u0301", R"("e\u{301}")"},                       // combining acute accent
        {"\uFEFFx\u00AD", R"("\u{feff}x\u{ad}")"},          // format characters
        {"\uE000\U000F0000", R"("\u{e000}\u{f0000}")"},     // private use
        {"\u0085\u2028\u2029\u3000", R"("\u{85}\u{2028}\u{2029}\u{3000}")"},
        {"\u0378\uFFFF", R"("\u{378}\u{ffff}")"},           // unassigned
        // Printable, a spacing mark (not Grapheme_Extend) included.
        {"\u00E9\u20AC\U0001F600\u4E2D\u093E ~", "\"\u00E9\u20AC\U0001F600\u4E2D\u093E ~\""},
        {"\xFF" "a\xC3", "\"\uFFFD" "a\uFFFD\""},           // ill-formed bytes
    };
    for (const auto& [raw, quoted] : cases) {
        EXPECT_EQ(format_xml_token(XmlText{raw}), "Text(" + quoted + ")") << quoted;
        EXPECT_EQ(format_xml_token(XmlOpen{raw, {{raw, raw}}, false}),
                  "Open { name: " + quoted + ", attrs: [(" + quoted + ", " + quoted +
                      ")], self_closing: false }")
            << quoted;
        EXPECT_EQ(format_xml_token(XmlClose{raw}), "Close(" + quoted + ")") << quoted;
    }
}

}  // namespace
}  // namespace ilvex
