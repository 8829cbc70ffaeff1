#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "dialektos/error.hpp"
#include "endo/xml/xml_attributes.hpp"
#include "endo/xml/xml_entities.hpp"
#include "endo/xml/xml_tokenizer.hpp"
#include "repeated_text.hpp"

namespace ilvex {
namespace {

using Tokenize = Result<std::vector<XmlToken>> (*)(std::string_view);

std::vector<std::string> debug_lines(const std::vector<XmlToken>& tokens) {
    std::vector<std::string> lines;
    for (const XmlToken& token : tokens) lines.push_back(format_xml_token(token));
    return lines;
}

struct TokenizeCase {
    std::string input;
    std::vector<std::string> xml;  // the debug text of each token
    std::optional<std::vector<std::string>> html = std::nullopt;  // none: as in XML mode
};

TEST(XmlTokenizer, TokensInBothModes) {
    const TokenizeCase cases[] = {
        {"", {}},
        {"plain text", {R"(Text("plain text"))"}},
        {"a<b/>c",
         {R"(Text("a"))", R"(Open { name: "b", attrs: [], self_closing: true })", R"(Text("c"))"}},
        {"<p>\n</p>",
         {R"(Open { name: "p", attrs: [], self_closing: false })", R"(Text("\n"))",
          R"(Close("p"))"}},
        {"<P Class='x'>",
         {R"(Open { name: "P", attrs: [("class", "x")], self_closing: false })"},
         {{R"(Open { name: "p", attrs: [("class", "x")], self_closing: false })"}}},
        // Only ASCII letters are lower-cased.
        {"<D\u0130V>", {"Open { name: \"D\u0130V\", attrs: [], self_closing: false }"},
         {{"Open { name: \"d\u0130v\", attrs: [], self_closing: false }"}}},
        {"</ p >", {R"(Close("p"))"}},
        {"</P>", {R"(Close("P"))"}, {{R"(Close("p"))"}}},
        {"</>", {R"(Close(""))"}},
        {"<a><b></a>",
         {R"(Open { name: "a", attrs: [], self_closing: false })",
          R"(Open { name: "b", attrs: [], self_closing: false })", R"(Close("a"))"}},
        {"a < b > c",
         {R"(Text("a "))", R"(Open { name: "b", attrs: [], self_closing: false })",
          R"(Text(" c"))"}},
        {"a>b", {R"(Text("a>b"))"}},
        {"<br />", {R"(Open { name: "br", attrs: [], self_closing: true })"}},
        {"<a/ >", {R"(Open { name: "a/", attrs: [], self_closing: false })"}},
        {"<img src=\"a.png\" alt='x'/>",
         {R"(Open { name: "img", attrs: [("src", "a.png"), ("alt", "x")], self_closing: true })"}},
        {"<tei:TEI xml:id='t'>",
         {R"(Open { name: "tei:TEI", attrs: [("xml:id", "t")], self_closing: false })"},
         {{R"(Open { name: "tei:tei", attrs: [("xml:id", "t")], self_closing: false })"}}},
        // The name ends at any White_Space character, here a no-break space.
        {"<a\u00A0b='1'>", {R"(Open { name: "a", attrs: [("b", "1")], self_closing: false })"}},
        {"<a t=\"a &lt; b\">a &lt; b",
         {R"(Open { name: "a", attrs: [("t", "a < b")], self_closing: false })",
          R"(Text("a &lt; b"))"}},
        {"<!-- a -- b -->x", {R"(Text("x"))"}},
        {"<!-->x<!--->y", {R"(Text("x"))", R"(Text("y"))"}},
        {"<!DOCTYPE x [ <!ENTITY e \"v\"> ]><r/>",
         {R"(Open { name: "r", attrs: [], self_closing: true })"},
         {{R"(Text(" ]>"))", R"(Open { name: "r", attrs: [], self_closing: true })"}}},
        // A "[" after the declaration's first ">" opens no internal subset.
        {"<!x>[<r/>]>",
         {R"(Text("["))", R"(Open { name: "r", attrs: [], self_closing: true })",
          R"(Text("]>"))"}},
        // A processing instruction ends at its first ">", a "[" in it included.
        {"<?pi a[1]?>x<![CDATA[y]]>",
         {R"(Text("x"))", R"(Text("y"))"},
         {{R"(Open { name: "?pi", attrs: [("a[1]?", "")], self_closing: false })",
           R"(Text("x"))"}}},
        {"<?xml version=\"1.0\"?><r/>",
         {R"(Open { name: "r", attrs: [], self_closing: true })"},
         {{R"(Open { name: "?xml", attrs: [("version", "1.0"), ("?", "")], self_closing: false })",
           R"(Open { name: "r", attrs: [], self_closing: true })"}}},
        // CDATA content is kept as text that decodes back to it (XML mode);
        // HTML mode ends the section at its first ">".
        {"<![CDATA[a<b]]>", {R"(Text("a&lt;b"))"}, std::vector<std::string>{}},
        {"<![CDATA[a>b & c]]>", {R"(Text("a&gt;b &amp; c"))"}, {{R"(Text("b & c]]>"))"}}},
        {"<![CDATA[x]>y]]>z", {R"(Text("x]&gt;y"))", R"(Text("z"))"},
         {{R"(Text("y]]>z"))"}}},
        {"<![CDATA[]]>", {}},
    };
    for (const TokenizeCase& c : cases) {
        for (const bool html : {false, true}) {
            const std::vector<std::string>& expected = html && c.html ? *c.html : c.xml;
            const auto tokens = html ? tokenize_html(c.input) : tokenize_xml(c.input);
            ASSERT_TRUE(tokens.ok()) << c.input << (html ? " (html)" : " (xml)") << ": "
                                     << error_message(tokens.error());
            EXPECT_EQ(debug_lines(*tokens), expected) << c.input << (html ? " (html)" : " (xml)");
        }
    }
}

TEST(XmlTokenizer, CdataTextDecodesToItsContent) {
    const std::string content = "if (a < b && c > d) &amp; ]> done";
    const auto tokens = tokenize_xml("<r><![CDATA[" + content + "]]></r>");
    ASSERT_TRUE(tokens.ok());
    ASSERT_EQ(tokens->size(), 3u);
    EXPECT_EQ(decode_xml_entities(std::get<XmlText>((*tokens)[1]).text), content);
}

// Unterminated internal subsets and CDATA sections fail in XML mode only;
// HTML mode does not know them and ends the declaration at its first ">".
TEST(XmlTokenizer, XmlOnlyDeclarationsFailOnlyInXmlMode) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"<!DOCTYPE x [ <!ENTITY e 'v'>", {}},
        {"<![CDATA[a>b", {R"(Text("b"))"}},
    };
    for (const auto& [input, html] : cases) {
        const auto xml_tokens = tokenize_xml(input);
        ASSERT_FALSE(xml_tokens.ok()) << input;
        EXPECT_EQ(error_message(xml_tokens.error()),
                  "missing or unreadable resource: tei import: unterminated declaration");
        const auto html_tokens = tokenize_html(input);
        ASSERT_TRUE(html_tokens.ok()) << input;
        EXPECT_EQ(debug_lines(*html_tokens), html) << input;
    }
}

struct FailureCase {
    std::string input;
    std::string xml;  // the full message
    std::string html;
};

TEST(XmlTokenizer, FailuresCarryTheModesKindAndPrefix) {
    const std::string tei = "missing or unreadable resource: tei import: ";
    const FailureCase cases[] = {
        {"<!-- never closed", tei + "unterminated comment", "html import: unterminated comment"},
        {"<!DOCTYPE x", tei + "unterminated declaration", "html import: unterminated declaration"},
        {"<![CDATA[a", tei + "unterminated declaration", "html import: unterminated declaration"},
        {"<?pi", tei + "unterminated declaration", "html import: unterminated tag"},
        {"a < b", tei + "unterminated tag", "html import: unterminated tag"},
        {"<p>x</p", tei + "unterminated tag", "html import: unterminated tag"},
        {"<>", tei + "empty tag", "html import: empty tag"},
        {"< />", tei + "empty tag", "html import: empty tag"},
        {"<\t>", tei + "empty tag", "html import: empty tag"},
        // Attribute errors read "html import: " in both modes.
        {"<a title=\"x>y\">", "html import: unterminated attribute `title`",
         "html import: unterminated attribute `title`"},
        {"<a HREF=x>", "html import: unquoted attribute value after `href`",
         "html import: unquoted attribute value after `href`"},
        {"<a href=>", "html import: unquoted attribute value after `href`",
         "html import: unquoted attribute value after `href`"},
    };
    for (const FailureCase& c : cases) {
        for (const bool html : {false, true}) {
            const std::string& expected = html ? c.html : c.xml;
            const auto tokens = html ? tokenize_html(c.input) : tokenize_xml(c.input);
            ASSERT_FALSE(tokens.ok()) << c.input << (html ? " (html)" : " (xml)");
            EXPECT_EQ(error_message(tokens.error()), expected) << c.input;
            const ErrorKind kind =
                expected.starts_with("missing") ? ErrorKind::MissingResource : ErrorKind::Other;
            EXPECT_EQ(tokens.error().kind, kind) << c.input;
        }
    }
}

TEST(XmlTokenizer, IllFormedBytesPassThroughUnchanged) {
    const std::string input = "<p a='\xFF'>\xC3\x28</p>\xE2\x82";
    const auto tokens = tokenize_xml(input);
    ASSERT_TRUE(tokens.ok());
    const std::vector<XmlToken> expected = {
        XmlOpen{"p", {{"a", "\xFF"}}, false},
        XmlText{"\xC3\x28"},
        XmlClose{"p"},
        XmlText{"\xE2\x82"},
    };
    EXPECT_EQ(*tokens, expected);
}

// Random byte strings rich in markup characters, ill-formed sequences and
// white space: every outcome must be a token list or an error, and every
// token must format and decode.
TEST(XmlTokenizer, ArbitraryBytesNeverCrash) {
    const std::string alphabet[] = {"<",  ">",    "/",    "!",  "?",      "-",   "[",
                                    "]",  "=",    "\"",   "'",  "&",      "#",   ";",
                                    "x",  "A",    " ",    "\n", "\u00A0", "\xFF", "\xC3",
                                    "\xE2\x82", "<!--", "-->", "<![CDATA[", "]]>", "&#x"};
    std::mt19937 random(12345);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 1);
    std::uniform_int_distribution<int> length(0, 40);
    for (int round = 0; round < 20000; ++round) {
        std::string input;
        for (int n = length(random); n > 0; --n) input += alphabet[pick(random)];
        for (const Tokenize tokenize : {&tokenize_xml, &tokenize_html}) {
            const auto tokens = tokenize(input);
            if (!tokens.ok()) continue;
            for (const XmlToken& token : *tokens) {
                EXPECT_FALSE(format_xml_token(token).empty());
                if (const auto* text = std::get_if<XmlText>(&token)) {
                    EXPECT_FALSE(text->text.empty()) << input;
                    decode_xml_entities(text->text);
                }
            }
        }
    }
}

struct AttributeCase {
    std::string text;
    std::vector<XmlAttribute> expected;
};

TEST(ParseTagAttributes, Forms) {
    const AttributeCase cases[] = {
        {"", {}},
        {"  ", {}},
        {"nowrap", {{"nowrap", ""}}},
        {"a=\"1\"b=\"2\"", {{"a", "1"}, {"b", "2"}}},
        {"  A = 'x'  B\t=\n\"y\"  ", {{"a", "x"}, {"b", "y"}}},
        {"a b c", {{"a", ""}, {"b", ""}, {"c", ""}}},
        {"n='1' n='2'", {{"n", "1"}, {"n", "2"}}},
        {"t=\"it's\" u='say \"hi\"'", {{"t", "it's"}, {"u", "say \"hi\""}}},
        {"v=\"a &lt; b &amp;amp; &#233;\"", {{"v", "a < b &amp; \u00E9"}}},
        {"v=''", {{"v", ""}}},
        // A pair without a name is parsed and dropped.
        {"='x' a='1'", {{"a", "1"}}},
        {"XML:Lang='de'", {{"xml:lang", "de"}}},
        {"a\u3000b='1'", {{"a", ""}, {"b", "1"}}},
    };
    for (const AttributeCase& c : cases) {
        const auto attrs = parse_tag_attributes(c.text);
        ASSERT_TRUE(attrs.ok()) << c.text << ": " << error_message(attrs.error());
        EXPECT_EQ(*attrs, c.expected) << c.text;
    }
}

TEST(ParseTagAttributes, Failures) {
    const std::pair<std::string, std::string> cases[] = {
        {"href=x", "html import: unquoted attribute value after `href`"},
        {"href=", "html import: unquoted attribute value after `href`"},
        {"href =  ", "html import: unquoted attribute value after `href`"},
        {"=x", "html import: unquoted attribute value after ``"},
        {"title=\"x", "html import: unterminated attribute `title`"},
        {"a='1' Title='x\"", "html import: unterminated attribute `title`"},
    };
    for (const auto& [text, message] : cases) {
        const auto attrs = parse_tag_attributes(text);
        ASSERT_FALSE(attrs.ok()) << text;
        EXPECT_EQ(attrs.error(), Error(ErrorKind::Other, message)) << text;
    }
}

double seconds_to_tokenize(Tokenize tokenize, const std::string& input, std::size_t tokens) {
    const auto start = std::chrono::steady_clock::now();
    const auto result = tokenize(input);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(result.ok());
    if (result.ok()) {
        EXPECT_EQ(result->size(), tokens);
    }
    return elapsed.count();
}

using testing::repeated;

// Generous bounds: a linear pass takes milliseconds (a few hundred under the
// sanitizers on a loaded machine), a quadratic one minutes.
TEST(XmlTokenizer, MegabyteInputsTakeLinearTime) {
    constexpr std::size_t n = 250'000;
    constexpr double bound = 3.0;
    for (const Tokenize tokenize : {&tokenize_xml, &tokenize_html}) {
        EXPECT_LT(seconds_to_tokenize(tokenize, repeated("<!x>", n), 0), bound);
        EXPECT_LT(seconds_to_tokenize(tokenize, repeated("<a/>", n), n), bound);
        EXPECT_LT(seconds_to_tokenize(tokenize, repeated("<p>x</p>", n / 2), 3 * (n / 2)), bound);
        EXPECT_LT(seconds_to_tokenize(tokenize, "<a " + repeated("b='1' ", n) + ">", 1), bound);
        EXPECT_LT(seconds_to_tokenize(tokenize, repeated("<!-- -->x", n), n), bound);
    }
    EXPECT_LT(seconds_to_tokenize(&tokenize_xml, repeated("<![CDATA[<]]>", n), n), bound);
}

}  // namespace
}  // namespace ilvex
