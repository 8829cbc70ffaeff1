#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "dialektos/error.hpp"
#include "endo/xml/xml_tokenizer.hpp"

namespace ilvex {
namespace {

// The tokens one at a time, up to the end or the first error.
std::vector<XmlToken> read_all(XmlTokenReader& reader, std::optional<std::string>& failure) {
    std::vector<XmlToken> tokens;
    while (true) {
        Result<std::optional<XmlToken>> next = reader.next();
        if (!next) {
            failure = error_message(next.error());
            return tokens;
        }
        if (!*next) return tokens;
        tokens.push_back(std::move(**next));
    }
}

TEST(XmlTokenReader, GivesTheTokensOfTokenizeXml) {
    const std::vector<std::string> texts = {
        "",
        "plain",
        "<?xml version='1.0'?><!DOCTYPE a [ <!ENTITY e 'v'> ]><a x='1'>t<!-- c --><b/><![CDATA[<&>]]></a>",
        "a < b > c</>",
    };
    for (const std::string& text : texts) {
        XmlTokenReader reader(text);
        std::optional<std::string> failure;
        EXPECT_EQ(read_all(reader, failure), tokenize_xml(text).value()) << text;
        EXPECT_FALSE(failure) << text;
    }
}

TEST(XmlTokenReader, StopsAtTheErrorAndRepeatsIt) {
    XmlTokenReader reader("<a>x<!-- never closed");
    std::optional<std::string> failure;
    const std::vector<XmlToken> expected = {XmlOpen{"a", {}, false}, XmlText{"x"}};
    EXPECT_EQ(read_all(reader, failure), expected);
    EXPECT_EQ(failure, "missing or unreadable resource: tei import: unterminated comment");
    const Result<std::optional<XmlToken>> again = reader.next();
    ASSERT_FALSE(again.ok());
    EXPECT_EQ(error_message(again.error()), *failure);
}

}  // namespace
}  // namespace ilvex
