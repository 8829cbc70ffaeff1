#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "parser/concat.hpp"
#include "parser/inline_parser.hpp"
#include "test_dialektos.hpp"

namespace ilvex {
namespace {

using test::endo_sim;
using test::make_dialektos;
using test::mono_sim;
using test::para_sim;

// A koine-like dialektos with glossae: "*", "**" and "*/" share a prefix,
// "<<" is not mirrored, "«" is not ASCII, and the French glossa gives two
// sims the same name.
const Dialektos& koine_like() {
    static const Dialektos dialektos = [] {
        ParaSimmere section;
        section.taxis = Occurrence::Optional;
        section.lemma = Occurrence::Required;
        Dialektos d = make_dialektos(
            "koine-like",
            {endo_sim("strong", "*"), endo_sim("section-break", "**"),
             endo_sim("strong-emphasis", "*/"), endo_sim("emphasis", "/"), endo_sim("link", "><"),
             endo_sim("bracket", "["), endo_sim("angle", "<<", false), endo_sim("guillemets", "«"),
             para_sim("section", "#", section), mono_sim("ref", ">")});
        d.glossae["de"] = {{"*", "stark"}, {"#", "abschnitt"}, {"«", "anführung"}};
        d.glossae["fr"] = {{"*", "gras"}, {"/", "accent"}, {"*/", "accent"}};
        return d;
    }();
    return dialektos;
}

std::string describe(const std::vector<Inline>& items);

std::string describe(const Suffix& suffix) {
    if (suffix.empty()) return "";
    std::string out = "{";
    if (suffix.onym) out += concat({"(", *suffix.onym, ")"});
    for (const auto& genos : suffix.genoses) out += concat({".", genos});
    return out + "}";
}

// A compact form of one item: "text" for text, *[...] for an endo-simmere
// (with "!" when it is not mirrored), .[...] for a diaphane, and a word for
// the other kinds; suffixes in braces.
std::string describe(const Inline& item) {
    const auto& n = item.node;
    if (auto* x = std::get_if<Inline::Text>(&n)) return concat({"\"", x->text, "\""});
    if (auto* x = std::get_if<Inline::EndoSimmere>(&n)) {
        return concat({x->symbol, x->mirrored ? "" : "!", "[", describe(x->children), "]",
                       describe(x->suffix)});
    }
    if (auto* x = std::get_if<Inline::Enlexis>(&n)) {
        return concat({"lex\"", x->text, "\"", describe(x->suffix)});
    }
    if (auto* x = std::get_if<Inline::Diaphane>(&n)) {
        return concat({".[", describe(x->children), "]", describe(x->suffix)});
    }
    if (auto* x = std::get_if<Inline::Monosim>(&n)) {
        return concat({"mono", x->symbol, "(", x->param, ")", describe(x->suffix)});
    }
    if (auto* x = std::get_if<Inline::OnymAnchor>(&n)) return concat({"anchor(", x->onym, ")"});
    if (auto* x = std::get_if<Inline::Milestone>(&n)) {
        return concat({"mile(", x->scheme, ":", x->value, ")", describe(x->suffix)});
    }
    if (auto* x = std::get_if<Inline::Deixis>(&n)) {
        return concat({"deixis", x->symbol, "(", x->target, ")", describe(x->suffix)});
    }
    if (auto* x = std::get_if<Inline::EndoAxioma>(&n)) {
        return concat({"axioma(", x->onym, ")[", describe(x->children), "]"});
    }
    const auto& x = std::get<Inline::AxiomaReference>(n);
    return concat({x.enlexis ? "ref+" : "ref", "(:", x.onym, ":)"});
}

std::string describe(const std::vector<Inline>& items) {
    std::string out;
    for (const auto& item : items) {
        if (!out.empty()) out += " ";
        out += describe(item);
    }
    return out;
}

// The description of the items, or the error's full text.
std::string outcome(const Dialektos& dialektos, std::string_view text, bool backslash = false,
                    std::uint64_t base_line = 0) {
    const auto items = parse_inline_text(test::parser_state(backslash), dialektos, text, base_line);
    return items ? describe(*items) : error_message(items.error());
}

// The same text or message written for a backslash document: the two sigil
// characters trade places, as the sigil and the escape character do.
std::string in_backslash_document(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '@') {
            c = '\\';
        } else if (c == '\\') {
            c = '@';
        }
    }
    return out;
}

struct Row {
    std::string_view text;
    std::string_view expected;  // the description of the items, or the error text
};

// Every row holds in a "@" document and, with the sigils traded, in a
// backslash document.
void expect_rows(std::initializer_list<Row> rows, const Dialektos& dialektos = koine_like()) {
    for (const Row& row : rows) {
        EXPECT_EQ(outcome(dialektos, row.text), row.expected) << "text: " << row.text;
        const std::string text = in_backslash_document(row.text);
        EXPECT_EQ(outcome(dialektos, text, true), in_backslash_document(row.expected))
            << "text in a backslash document: " << text;
    }
}

TEST(InlineScanner, ReadUntilMovesPastTheDelimiterOrToTheEnd) {
    InlineScanner scanner{"ab)cd)", "doc.ild"};
    EXPECT_EQ(read_until(scanner, ")"), "ab");
    EXPECT_EQ(scanner.pos, 3u);
    EXPECT_EQ(read_until(scanner, "x"), std::nullopt);
    EXPECT_EQ(scanner.pos, 6u);
    EXPECT_EQ(read_until(scanner, ")"), std::nullopt);  // at the end: nothing, no move
    EXPECT_EQ(scanner.pos, 6u);

    InlineScanner empty_body{")", "doc.ild"};
    EXPECT_EQ(read_until(empty_body, ")"), "");
}

TEST(InlineScanner, CursorPositionCountsLinesAndCharacters) {
    InlineScanner scanner{"«é»\nab c\nx", "p.ild", 0, 9};
    auto at = [&](std::size_t pos) {
        scanner.pos = pos;
        return location_prefix(cursor_position(scanner));
    };
    EXPECT_EQ(at(0), "p.ild:10:1");
    EXPECT_EQ(at(6), "p.ild:10:4");  // after three two-byte characters
    EXPECT_EQ(at(7), "p.ild:11:1");
    EXPECT_EQ(at(10), "p.ild:11:4");
    EXPECT_EQ(at(13), "p.ild:12:2");
    EXPECT_EQ(at(99), "p.ild:12:2");  // past the end counts as the end
}

TEST(InlineParser, EscapesAndSeparators) {
    expect_rows({
        {"", ""},
        {R"(\@)", R"("@")"},
        {R"(\|)", R"("|")"},
        {R"(\x)", R"("\x")"},
        {R"(a\)", R"("a\")"},
        {R"(\\@x)", R"("\@x")"},
        {R"(@*a\*@)", R"(*["a\"])"},  // the closer wins over the escape before it
        {R"(@*a\@*@)", R"(*["a@"])"},
        {R"(a|@*b*@)", R"("a" *["b"])"},
        {R"(a|b)", R"("a|b")"},
        {R"(a||@*b*@)", R"("a|" *["b"])"},
        {R"(a|)", R"("a|")"},
        {R"(\|@*b*@)", R"("|" *["b"])"},
        {R"(a|@@/ note)", R"("a")"},
    });
}

TEST(InlineParser, EveryInlineForm) {
    expect_rows({
        {R"(@("page:12"))", R"(mile(page:12))"},
        {R"(@("verse:^|1|2").x)", R"(mile(verse:^|1|2){.x})"},
        {R"(@(intro) x)", R"(anchor(intro) " x")"},
        {R"(@(intro)|x)", R"(anchor(intro) "|x")"},
        {R"(@(a)(b))", R"~(anchor(a) "(b)")~"},
        {R"(@@"a \@ b"@@)", R"(lex"a \@ b")"},
        {R"(@@"x"@@.code)", R"(lex"x"{.code})"},
        {R"(@@(:intro:))", R"(ref(:intro:))"},
        {R"(@@+(:intro:))", R"(ref+(:intro:))"},
        {R"(@@(:a b:).x)", R"(ref(:a b:) ".x")"},
        {R"(@@.a @*b*@.@@(x).y)", R"(.["a " *["b"]]{(x).y})"},
        {R"(@@:a @/b/@:@@(ax1).x)", R"(axioma(ax1)["a " /["b"]] ".x")"},
        {R"(@*a @/b/@ c*@)", R"(*["a " /["b"] " c"])"},
        {R"(@[a]@ @<<b<<@ @«c«@)", R"([["a"] " " <<!["b"] " " «["c"])"},
        {R"(@><x><@)", R"(><["x"])"},
        {R"(see @#(intro) here)", R"("see " deixis#(intro) " here")"},
        {R"(@#(intro).note)", R"(deixis#(intro){.note})"},
        {R"(@>(a1) x)", R"(mono>(a1) " x")"},
        {R"(@>(a1)(n).g)", R"(mono>(a1){(n).g})"},
    });
}

TEST(InlineParser, LongestSymbolMatch) {
    expect_rows({
        {R"(@*x*@)", R"(*["x"])"},
        {R"(@**x**@)", R"(**["x"])"},
        {R"(@*/x/*@)", R"(*/["x"])"},
        {R"(@*x**@)", R"(*["x*"])"},
        {R"(@*//x/*@)", R"(*/["/x"])"},
    });
    const Dialektos arrows = make_dialektos(
        "arrows", {endo_sim("one", ">"), endo_sim("two", ">>"), endo_sim("three", ">>>")});
    expect_rows({{R"(@>a<@)", R"(>["a"])"},
                 {R"(@>>a<<@)", R"(>>["a"])"},
                 {R"(@>>>a<<<@)", R"(>>>["a"])"},
                 {R"(@>>>>a<<<@)", R"(>>>[">a"])"}},
                arrows);
}

TEST(InlineParser, PlerographicNames) {
    expect_rows({
        {R"(@{strong}a{strong}@)", R"(*["a"])"},
        {R"(@{stark}a{stark}@.x)", R"(*["a"]{.x})"},
        {R"(@{anführung}a{anführung}@)", R"(«["a"])"},
        {R"(@{section}(intro))", R"(deixis#(intro))"},
        {R"(@{ref}(x))", R"(mono>(x))"},
        // The closer repeats the name; the episim does not close it.
        {R"(@{strong}a*@)", R"(doc.ild:1:12: undefined sim `@`)"},
        {R"(@{nope})", R"(doc.ild:1:1: undefined sim `{nope}`)"},
        {R"(x @{})", R"(doc.ild:1:3: undefined sim `{}`)"},
        {R"(x @{strong)", R"(doc.ild:1:3: unterminated plerographic name reference)"},
        {R"(@{accent}x{accent}@)",
         R"(doc.ild:1:1: sim name `accent` is duplicated in this dialektos and not plerographically addressable)"},
    });
}

TEST(InlineParser, CommentsKeepTheTextTogether) {
    expect_rows({
        {"a @@/ note\n   b", R"("a b")"},
        {"a @@/ x\n\n\t b", R"("a b")"},
        {"a @@/ note", R"("a ")"},
        {"@*a @@/ x\n b*@", R"(*["a b"])"},
        {"a @@@/ x\ny /@@@ b", R"("a  b")"},
        {"a@@@/c/@@@b", R"("ab")"},
        {"@*a @@/ x*@", R"(doc.ild:1:12: unmatched sim `@*` (episim not found))"},
    });
}

TEST(InlineParser, SuffixesAfterItems) {
    expect_rows({
        {R"(@*a*@.note x)", R"(*["a"]{.note} " x")"},
        {R"(@*a*@. Next)", R"(*["a"] ". Next")"},
        {R"(@*a*@.Next)", R"(*["a"] ".Next")"},
        {R"(@*a*@.5)", R"(*["a"] ".5")"},
        {R"(@*a*@.)", R"(*["a"] ".")"},
        {R"(@*a*@(a1).x.y)", R"(*["a"]{(a1).x.y})"},
        {R"(@*a*@.éla)", R"(*["a"]{.éla})"},
        {R"(@*a*@.x²٣)", R"(*["a"]{.x²٣})"},  // No and Nd digits, as the genos rule takes them
        {R"(@*a*@.a1-b2.c)", R"(*["a"]{.a1-b2.c})"},
        {R"(@*a*@.noTe)", R"(*["a"]{.no} "Te")"},
        {R"(@*a*@.note|-x)", R"(*["a"]{.note} "-x")"},
        {R"(@*a*@|x)", R"(*["a"] "x")"},
        {R"(@*a*@(a1)", R"(doc.ild:1:9: unterminated onym suffix)"},
        {R"(@*a*@(a b))", R"(doc.ild:1:11: invalid onym identifier `a b`)"},
        {R"(@*a*@.aside-)", R"(doc.ild:1:13: invalid genos identifier `aside-`)"},
        {R"(@*a*@.a--b x)", R"(doc.ild:1:11: invalid genos identifier `a--b`)"},
    });
}

TEST(InlineParser, FailuresAtTheirPositions) {
    expect_rows({
        {R"(ab @@@@@ c)", R"(doc.ild:1:4: sigil run of 5 characters (maximum is four))"},
        {R"(x @)", R"(doc.ild:1:3: undefined sim `@`)"},
        {R"(@x)", R"(doc.ild:1:1: undefined sim `@`)"},
        {R"(a @~+ b)", R"(doc.ild:1:3: undefined sim `@~+`)"},
        {R"(@@)", R"(doc.ild:1:1: undefined sim `@@`)"},
        {R"(a @@x)", R"(doc.ild:1:3: undefined sim `@@x`)"},
        {R"(@@é)", R"(doc.ild:1:1: undefined sim `@@é`)"},
        {R"(@*abc)", R"(doc.ild:1:6: unmatched sim `@*` (episim not found))"},
        {R"(@{strong}abc)", R"(doc.ild:1:13: unmatched sim `@*` (episim not found))"},
        {R"(@@"abc)", R"(doc.ild:1:7: unmatched sim `@@"` (episim not found))"},
        {R"(@@.abc)", R"(doc.ild:1:7: unmatched sim `@@.` (episim not found))"},
        {R"(@@:abc)", R"(doc.ild:1:7: unmatched sim `@@:` (episim not found))"},
        {R"(@@@/ abc)", R"(doc.ild:1:9: unmatched sim `@@@/` (episim not found))"},
        {R"(see @# here)", R"(doc.ild:1:7: endo-simmere formatted to mimic a para-simmere)"},
        {R"(@>(a b) x)", R"(doc.ild:1:8: monosim parameter contains whitespace: `a b`)"},
        {R"(@>(a ))", R"(doc.ild:1:7: monosim parameter contains whitespace: `a `)"},
        {R"(@())", R"(doc.ild:1:4: invalid onym identifier ``)"},
        {R"(@#(a b))", R"(doc.ild:1:8: invalid onym identifier `a b`)"},
        {R"(@@:x:@@(a b))", R"(doc.ild:1:13: invalid onym identifier `a b`)"},
        {R"(x @@@(f))", R"(doc.ild:1:3: anaphor (file transclusion) form in endo-context)"},
        {R"(@@@+(f))", R"(doc.ild:1:1: anaphor (file transclusion) form in endo-context)"},
        {R"(@(a)", R"(doc.ild:1:4: unterminated onym anchor)"},
        {R"(@("page:1)", R"(doc.ild:1:10: unterminated milestone)"},
        {R"(@>(a)", R"(doc.ild:1:5: unterminated monosim parameter)"},
        {R"(@#(a)", R"(doc.ild:1:5: unterminated deixis reference)"},
        {R"(@@(:a:)", R"(doc.ild:1:7: unterminated axioma reference)"},
        {R"(@@+(:a)", R"(doc.ild:1:7: unterminated axioma reference)"},
        {R"(@@:x:@@(a)", R"(doc.ild:1:10: unterminated axioma onym)"},
        {R"(@("page"))", R"(doc.ild:1:10: milestone `page` has no scheme separator `:`)"},
        {R"(@("Page:12"))", R"(doc.ild:1:13: invalid milestone scheme `Page`)"},
        {R"(@("page:"))", R"(doc.ild:1:11: invalid milestone value ``)"},
        {R"(@("page:12")(n))", R"(doc.ild:1:16: a milestone cannot carry an onym suffix)"},
        {R"(@> x)", R"(doc.ild:1:3: monosim `@>` requires `(param)`)"},
        {R"(@@(intro))", R"(doc.ild:1:10: expected `(:ref:)` axioma reference, found `(intro)`)"},
        {R"(@@(:))", R"(doc.ild:1:6: expected `(:ref:)` axioma reference, found `(:)`)"},
        {R"(@@+x)", R"(doc.ild:1:4: malformed axioma-enlexis reference)"},
        {R"(@@:x:@@ y)", R"(doc.ild:1:8: endo-axioma requires `(onym)` after its episim)"},
        {R"(a @@@.)", R"(doc.ild:1:3: trigraph block form in endo-context)"},
        {R"(@@@)", R"(doc.ild:1:1: trigraph block form in endo-context)"},
        {R"(@@@"x)", R"(doc.ild:1:1: trigraph block form in endo-context)"},
        {R"(@@@@)", R"(doc.ild:1:1: enmedia is only valid in para-context)"},
        {R"(x @@@@(a.png))", R"(doc.ild:1:3: enmedia is only valid in para-context)"},
        {R"(@*a @@x*@)", R"(doc.ild:1:5: undefined sim `@@x`)"},
        {"«é»\nab @x", R"(doc.ild:2:4: undefined sim `@`)"},
        {"a\n@*b", R"(doc.ild:2:4: unmatched sim `@*` (episim not found))"},
    });
}

TEST(InlineParser, LocatesErrorsFromTheBaseLine) {
    const Dialektos& d = koine_like();
    EXPECT_EQ(outcome(d, "first\nsecond\nthird @x", false, 9), "doc.ild:12:7: undefined sim `@`");
    EXPECT_EQ(outcome(d, "ü @", false, 4), "doc.ild:5:3: undefined sim `@`");
    EXPECT_EQ(outcome(d, "@*a\nb", false, 9),
              "doc.ild:11:2: unmatched sim `@*` (episim not found)");
}

std::string nested(std::string_view opener, std::string_view closer, std::size_t depth) {
    std::string text;
    for (std::size_t i = 0; i < depth; ++i) text += opener;
    text += "x";
    for (std::size_t i = 0; i < depth; ++i) text += closer;
    return text;
}

std::size_t nesting_depth(const std::vector<Inline>& items) {
    std::size_t depth = 0;
    for (const auto* level = &items; level->size() == 1;) {
        const auto* endo = std::get_if<Inline::EndoSimmere>(&level->front().node);
        if (endo == nullptr) break;
        ++depth;
        level = &endo->children;
    }
    return depth;
}

TEST(InlineParser, NestingIsBounded) {
    const Dialektos& d = koine_like();
    const ParserState state = test::parser_state();
    const auto deepest = parse_inline_text(state, d, nested("@*", "*@", max_inline_nesting), 0);
    ASSERT_TRUE(deepest) << error_message(deepest.error());
    EXPECT_EQ(nesting_depth(*deepest), max_inline_nesting);

    // The run of the opener that goes one level too deep: 256 openers before it.
    EXPECT_EQ(outcome(d, nested("@*", "*@", max_inline_nesting + 1)),
              "doc.ild:1:513: nesting deeper than 256 levels");
    EXPECT_EQ(outcome(d, nested("@*", "*@", 100'000)),
              "doc.ild:1:513: nesting deeper than 256 levels");
    EXPECT_EQ(outcome(d, nested("@@.", ".@@", 100'000)),
              "doc.ild:1:769: nesting deeper than 256 levels");
    EXPECT_EQ(outcome(d, nested("@@:", ":@@(a)", 100'000)),
              "doc.ild:1:769: nesting deeper than 256 levels");
    EXPECT_EQ(outcome(d, nested("@@.@*@@:", "", 100'000)),
              "doc.ild:1:684: nesting deeper than 256 levels");  // 85 x 3 levels, "@@.", then "@*"
    EXPECT_EQ(outcome(d, in_backslash_document(nested("@*", "*@", 100'000)), true),
              "doc.ild:1:513: nesting deeper than 256 levels");
}

}  // namespace
}  // namespace ilvex
