#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "parser/concat.hpp"
#include "parser/sim_reference.hpp"
#include "parser/suffix.hpp"
#include "test_dialektos.hpp"

namespace ilvex {
namespace {

using test::endo_sim;
using test::make_dialektos;
using test::para_sim;

// "onym + genoses | rest", or the error's full text.
std::string read_closing_line(std::string_view text, std::uint64_t line_index = 4) {
    const auto read = parse_suffix_text(test::parser_state(), text, line_index);
    if (!read) return error_message(read.error());
    std::string out = read->suffix.onym.value_or("-");
    for (const auto& genos : read->suffix.genoses) out += concat({" .", genos});
    return concat({out, " |", read->rest});
}

TEST(SuffixText, ReadsTheSuffixOfAClosingLineAndKeepsTheRest) {
    const struct {
        std::string_view text;
        std::string_view expected;
    } rows[] = {
        {"", "- |"},
        {"(p1) speech", "p1 | speech"},
        {"(p1).speech Aside", "p1 .speech | Aside"},
        {".note|-x", "- .note |-x"},
        {"|rest", "- |rest"},
        {".Next", "- |.Next"},
        {" (p1)", "- | (p1)"},
        // Line 5; the column counts the characters after the closer.
        {"(p1).ok-", "doc.ild:5:9: invalid genos identifier `ok-`"},
        {"(é b)", "doc.ild:5:6: invalid onym identifier `é b`"},
        {"(a b", "doc.ild:5:5: unterminated onym suffix"},
    };
    for (const auto& row : rows) EXPECT_EQ(read_closing_line(row.text), row.expected) << row.text;
}

std::string resolve(const Dialektos& dialektos, std::string_view text) {
    const auto found = resolve_sim_reference(dialektos, nullptr, text, ErrorLocation{"doc.ild", 4, 1});
    if (!found) return error_message(found.error());
    if (found->sim == nullptr) return "not found";
    return concat({found->sim->symbol, " ", found->name.value_or("-"), " ",
                   std::to_string(found->byte_length), "/", std::to_string(found->char_length)});
}

TEST(SimReference, SymbolsByLongestMatchNamesByTheirBraces) {
    Dialektos d = make_dialektos("t", {endo_sim("strong", "*"), endo_sim("section-break", "**"),
                                       endo_sim("guillemets", "«"), para_sim("section", "#")});
    d.glossae["de"] = {{"#", "abschnitt"}, {"«", "anführung"}};
    d.glossae["fr"] = {{"*", "gras"}, {"**", "gras"}};
    const struct {
        std::string_view text;
        std::string_view expected;
    } rows[] = {
        {"**x", "** - 2/2"},
        {"*x", "* - 1/1"},
        {"***", "** - 2/2"},
        {"«x", "« - 2/1"},
        {"x*", "not found"},
        {"", "not found"},
        {"{section} Title", "# section 9/9"},
        {"{abschnitt}", "# abschnitt 11/11"},
        {"{anführung}x}", "« anführung 12/11"},
        {"{nope}", "doc.ild:4:1: undefined sim `{nope}`"},
        {"{}", "doc.ild:4:1: undefined sim `{}`"},
        {"{section", "doc.ild:4:1: unterminated plerographic name reference"},
        {"{gras}",
         "doc.ild:4:1: sim name `gras` is duplicated in this dialektos and not plerographically "
         "addressable"},
    };
    for (const auto& row : rows) EXPECT_EQ(resolve(d, row.text), row.expected) << row.text;
}

}  // namespace
}  // namespace ilvex
