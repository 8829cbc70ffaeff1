#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "dialektos/error.hpp"
#include "endo/xml/xml_tokenizer.hpp"
#include "endo/xml/xml_walk.hpp"

namespace ilvex {
namespace {

std::vector<XmlToken> tokens_of(std::string_view text) {
    auto tokens = tokenize_xml(text);
    EXPECT_TRUE(tokens.ok()) << text;
    return tokens.ok() ? std::move(tokens).value() : std::vector<XmlToken>{};
}

// The walks over a whole token list.
auto token_at(const std::vector<XmlToken>& tokens) {
    return [&tokens](std::size_t i) { return i < tokens.size() ? &tokens[i] : nullptr; };
}
Result<std::size_t> skip_element(const std::vector<XmlToken>& tokens, std::size_t start, std::string_view name) {
    return skip_element_at(token_at(tokens), start, name);
}
Result<ElementText> element_plain_text(const std::vector<XmlToken>& tokens, std::size_t start,
                                       std::string_view name) {
    return element_plain_text_at(token_at(tokens), start, name);
}

// Each walker starts after the first token of `xml` (the element's `Open`);
// `next` is the expected index after the element, nothing for a failure.
struct SkipCase {
    std::string xml;
    std::string name;
    std::optional<std::size_t> next;
};

TEST(SkipElement, CountsOnlyTheElementsOwnName) {
    const SkipCase cases[] = {
        {"<div><div/><div>x</div></div>tail", "div", 6},  // the empty div does not count
        {"<div></div>", "div", 2},
        {"<div><p></div></p></div>", "div", 3},  // other names are ignored
        {"<a><b></b>", "a", std::nullopt},
        {"<a><a></a>", "a", std::nullopt},
        {"<a></A>", "a", std::nullopt},  // names compare exactly
    };
    for (const SkipCase& c : cases) {
        const std::vector<XmlToken> tokens = tokens_of(c.xml);
        const auto plain = skip_element(tokens, 1, c.name);
        ASSERT_EQ(plain.ok(), c.next.has_value()) << c.xml;
        if (c.next) {
            EXPECT_EQ(*plain, *c.next) << c.xml;
        } else {
            const std::string text = "missing or unreadable resource: tei import: unterminated <" +
                                     c.name + ">";
            EXPECT_EQ(error_message(plain.error()), text);
        }
    }
}

struct TextCase {
    std::string xml;  // the element's Open, its content and what follows
    std::string name;
    std::string text;  // expected text, or the expected error message
    std::size_t next;  // expected index after the element; 0 for a failure
};

// Runs `read` on each case from the token after the opening tag: `next` 0
// means the case fails with `text` as its message.
template <std::size_t N, class Read>
void expect_text_cases(const TextCase (&cases)[N], Read read) {
    for (const TextCase& c : cases) {
        const std::vector<XmlToken> tokens = tokens_of(c.xml);
        const auto got = read(tokens, 1, c.name);
        if (c.next == 0) {
            ASSERT_FALSE(got.ok()) << c.xml;
            EXPECT_EQ(error_message(got.error()), c.text);
            continue;
        }
        ASSERT_TRUE(got.ok()) << c.xml;
        EXPECT_EQ(got->text, c.text) << c.xml;
        EXPECT_EQ(got->next, c.next) << c.xml;
    }
}

TEST(ElementPlainText, TextOfAllDescendantsCollapsed) {
    const TextCase cases[] = {
        {"<orth>a <hi>b</hi>\n  c</orth>", "orth", "a b c", 7},
        {"<orth>x</other></orth>", "orth", "x", 4},  // a stray Close at depth 0
        {"<orth><orth>a</orth>b</orth>", "orth", "ab", 6},
        {"<orth><x/>a &amp;lt; b</orth>", "orth", "a &lt; b", 4},
        {"<orth> \t</orth>", "orth", " ", 3},  // collapsed, not trimmed
        {"<orth></orth>", "orth", "", 2},
        {"<orth><b>x</orth>", "orth",
         "missing or unreadable resource: tei import: unterminated <orth>", 0},
    };
    expect_text_cases(cases, element_plain_text);
}

TEST(ElementTextOnly, TextOnlyWithLineFeedsTrimmed) {
    const std::string unsupported = "missing or unreadable resource: docbook import: unsupported ";
    const TextCase cases[] = {
        {"<title>\nTitle\n</title>", "title", "Title", 3},
        {"<title> Title </title>", "title", " Title ", 3},  // only line feeds go
        {"<title>\n\r\n</title>", "title", "\r", 3},
        {"<title>\n\n</title>", "title", "", 3},
        {"<code>a &lt; b</code>x", "code", "a < b", 3},
        {"<code></code>", "code", "", 2},
        {"<title>A <emphasis>b</emphasis></title>", "title",
         unsupported + R"(Open { name: "emphasis", attrs: [], self_closing: false } in <title>)", 0},
        {"<title><br/></title>", "title",
         unsupported + R"(Open { name: "br", attrs: [], self_closing: true } in <title>)", 0},
        {"<title>a</other>", "title", unsupported + R"(Close("other") in <title>)", 0},
        {"<title>a", "title",
         "missing or unreadable resource: docbook import: unterminated <title>", 0},
    };
    expect_text_cases(cases, element_text_only);
}

TEST(AttributeValue, FirstExactMatch) {
    const std::vector<XmlAttribute> attrs = {{"n", "1"}, {"n", "2"}, {"xml:id", ""}};
    EXPECT_EQ(attribute_value(attrs, "n"), "1");
    EXPECT_EQ(attribute_value(attrs, "xml:id"), "");
    EXPECT_EQ(attribute_value(attrs, "N"), std::nullopt);
    EXPECT_EQ(attribute_value(attrs, "x"), std::nullopt);
    EXPECT_EQ(attribute_value({}, "n"), std::nullopt);
}

}  // namespace
}  // namespace ilvex
