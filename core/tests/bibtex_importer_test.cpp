// The BibTeX importer through a sink: collected whole and written entry by
// entry it gives the same text, which reads back, or it fails the same way
// both times.
#include <gtest/gtest.h>

#include <string>

#include "dialektos/error.hpp"
#include "endo/bibtex/bibtex_importer.hpp"
#include "failing_import.hpp"
#include "local_dialektoi.hpp"
#include "round_trip.hpp"

namespace ilvex {
namespace {

using namespace ilvex::testing;

constexpr std::string_view prefix = "missing or unreadable resource: bibtex import: ";

TEST(BibtexImport, StreamsWhatTheWholeTreeWritesOrFailsAlike) {
    struct Case {
        std::string source;
        std::string error;  // after the prefix; empty: the import succeeds
    };
    const Case cases[] = {
        {"@comment{x}\n@Article{k1, Title = {The {TeX}book}, year = 1984}\n@misc{k2}\n", ""},
        {"@misc{k @|, t = \"a\n  b\", u = {\"@@ {\\\"u}}, v={}}", ""},
        {"@misc{k1}\n@misc{k2, t = x}", "unsupported value form for `t` (macros/concatenation are out of subset)"},
        {"@misc{k1}\n@misc{k2,", "unterminated @misc{k2}"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(check_import_or_error(import_bibtex, c.source, local_dialektoi().path(), prefix), "") << c.source;
        const Result<Document> imported = import_bibtex(c.source);
        EXPECT_EQ(imported ? "" : error_message(imported.error()), c.error.empty() ? "" : std::string(prefix) + c.error)
            << c.source;
    }
}

TEST(BibtexImport, NormalizeWhitespaceTrimsAndCollapses) {
    EXPECT_EQ(normalize_whitespace(" \t a \n\u00a0 b\u2028"), "a b");
    EXPECT_EQ(normalize_whitespace(" \n "), "");
}

}  // namespace
}  // namespace ilvex
