#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "dialektos/error.hpp"
#include "endo/xml/xml_tokenizer.hpp"

namespace ilvex {
namespace {

// What the reader gives, token by token, written as tokenize_xml's answer
// would be: the debug text of each token, or the error's text alone.
std::vector<std::string> read_all(std::string_view text) {
    XmlTokenReader reader(text);
    std::vector<std::string> out;
    while (true) {
        Result<std::optional<XmlToken>> token = reader.next();
        if (!token) return {error_message(token.error())};
        if (!token->has_value()) break;
        out.push_back(format_xml_token(**token));
    }
    // At the end it stays there.
    Result<std::optional<XmlToken>> after = reader.next();
    EXPECT_TRUE(after && !after->has_value());
    return out;
}

std::vector<std::string> tokenized(std::string_view text) {
    Result<std::vector<XmlToken>> tokens = tokenize_xml(text);
    if (!tokens) return {error_message(tokens.error())};
    std::vector<std::string> out;
    for (const XmlToken& token : *tokens) out.push_back(format_xml_token(token));
    return out;
}

TEST(XmlTokenReader, GivesWhatTokenizeXmlGives) {
    const char* inputs[] = {
        "",
        "plain",
        "a<b/>c<!-- x --><?pi?><!DOCTYPE d [ <!ENTITY e \"v\"> ]>d</b>",
        "<p a='1'b=\"2\"><![CDATA[x<y]]><![CDATA[]]></p>",
        "<!---->",
        "text <a",           // unterminated tag after a token
        "<a><!-- never",     // unterminated comment
        "<a href=x>",        // attribute error
        "< />",
    };
    for (const char* input : inputs) EXPECT_EQ(read_all(input), tokenized(input)) << input;
}

}  // namespace
}  // namespace ilvex
