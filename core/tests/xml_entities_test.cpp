#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "endo/xml/xml_entities.hpp"

namespace ilvex {
namespace {

TEST(DecodeXmlEntities, PredefinedEntitiesAndCharacterReferences) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"no references", "no references"},
        {"&lt;b&gt; &amp;amp; &quot;", "<b> &amp; \""},
        {"&apos;&quot;&lt;&gt;&amp;", "'\"<>&"},
        // One pass: what a reference produces is not read again.
        {"&amp;lt;", "&lt;"},
        {"&#38;lt;", "&lt;"},
        {"&&lt;", "&<"},
        {"&#233;&#xE9;&#xe9;", "\u00E9\u00E9\u00E9"},
        {"&#0000065;&#x00041;", "AA"},
        {"&#x1F600;", "\U0001F600"},
        {"&#x10FFFF;&#1114111;", "\U0010FFFF\U0010FFFF"},
        // Left as written: named HTML entities, NUL, surrogates, values past
        // U+10FFFF however many digits, malformed references.
        {"&nbsp;&copy;&LT;", "&nbsp;&copy;&LT;"},
        {"&#0;&#x0;&#x000;", "&#0;&#x0;&#x000;"},
        {"&#xD800;&#57343;", "&#xD800;&#57343;"},
        {"&#x110000;&#1114112;", "&#x110000;&#1114112;"},
        {"&#99999999999999999999999;&#x100000000000041;",
         "&#99999999999999999999999;&#x100000000000041;"},
        {"&#;&#x;&#X41;&#65&#x41 &#6 5;&#xG;", "&#;&#x;&#X41;&#65&#x41 &#6 5;&#xG;"},
        {"&lt &amp &", "&lt &amp &"},
        {"a&#65;b&lt;c", "aAb<c"},
        // Bytes that are not UTF-8 pass through.
        {"\xFF&lt;\xC3", "\xFF<\xC3"},
    };
    for (const auto& [text, decoded] : cases) {
        EXPECT_EQ(decode_xml_entities(text), decoded) << text;
    }
}

TEST(DecodeXmlEntities, MegabyteInputsTakeLinearTime) {
    const std::string pieces[] = {"&amp;", "&#1111111111", "&", "&#x10FFFF;"};
    for (const std::string& piece : pieces) {
        std::string input;
        while (input.size() < 1'000'000) input += piece;
        const auto start = std::chrono::steady_clock::now();
        const std::string decoded = decode_xml_entities(input);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_FALSE(decoded.empty());
        EXPECT_LT(elapsed.count(), 1.0) << piece;
    }
}

}  // namespace
}  // namespace ilvex
