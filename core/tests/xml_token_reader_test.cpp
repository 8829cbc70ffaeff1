// Tokens read one at a time are the tokens of the whole list, in both
// modes; where the list fails, reading ends with the same error.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialektos/error.hpp"
#include "endo/xml/xml_tokenizer.hpp"

namespace ilvex {
namespace {

// The debug text of each token read, then the error's text when reading
// fails.
std::vector<std::string> read_all(XmlTokenReader& reader) {
    std::vector<std::string> out;
    for (;;) {
        Result<std::optional<XmlToken>> next = reader.next();
        if (!next) {
            out.push_back("error: " + error_message(next.error()));
            return out;
        }
        if (!next.value()) return out;
        out.push_back(format_xml_token(*next.value()));
    }
}

// What read_all gives, as far as the list tells it: the tokens, or when
// the list fails only its error, to be compared with the last read.
std::vector<std::string> listed(const Result<std::vector<XmlToken>>& tokens) {
    if (!tokens) return {"error: " + error_message(tokens.error())};
    std::vector<std::string> out;
    for (const XmlToken& token : tokens.value()) out.push_back(format_xml_token(token));
    return out;
}

void expect_same(const std::vector<std::string>& read, const std::vector<std::string>& list,
                 const std::string& text) {
    if (!list.empty() && list.back().starts_with("error: ")) {
        ASSERT_FALSE(read.empty()) << text;
        EXPECT_EQ(read.back(), list.back()) << text;
    } else {
        EXPECT_EQ(read, list) << text;
    }
}

TEST(XmlTokenReader, ReadsTheTokensOfTheWholeList) {
    const std::string texts[] = {
        "",
        "plain",
        "<p class='a'>x<!-- c --><br/>y</P>tail",
        "<!DOCTYPE d [ <!ENTITY e 'v'> ]><?pi x?><r><![CDATA[a<b]]><![CDATA[]]></r>",
        "<!-- c -->",
        "a<b>c</b><>",
        "<p>ok</p><a href=x>",
        "text <!-- never closed",
    };
    for (const std::string& text : texts) {
        XmlTokenReader xml = XmlTokenReader::xml(text);
        XmlTokenReader html = XmlTokenReader::html(text);
        expect_same(read_all(xml), listed(tokenize_xml(text)), text);
        expect_same(read_all(html), listed(tokenize_html(text)), text);
    }
}

TEST(XmlTokenReader, RepeatsItsError) {
    XmlTokenReader reader = XmlTokenReader::xml("<a>x<!-- never closed");
    const std::vector<std::string> expected = {"Open { name: \"a\", attrs: [], self_closing: false }", "Text(\"x\")",
                                               "error: missing or unreadable resource: tei import: unterminated comment"};
    EXPECT_EQ(read_all(reader), expected);
    const Result<std::optional<XmlToken>> again = reader.next();
    ASSERT_FALSE(again.ok());
    EXPECT_EQ(error_message(again.error()), expected.back().substr(7));
}

}  // namespace
}  // namespace ilvex
