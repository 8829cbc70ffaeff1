// The reStructuredText importer through a sink: collected whole and written
// block by block it gives the same text, which reads back, or it fails the
// same way both times; bodies nested to the bound and past it.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "dialektos/error.hpp"
#include "endo/light_markup/rst_importer.hpp"
#include "failing_import.hpp"
#include "local_dialektoi.hpp"
#include "repeated_text.hpp"
#include "round_trip.hpp"

namespace ilvex {
namespace {

using namespace ilvex::testing;

TEST(RstImport, StreamsWhatTheWholeTreeWritesOrFailsAlike) {
    struct Case {
        std::string source;
        std::string error;  // empty: the import succeeds
    };
    const Case cases[] = {
        {"Title\n=====\n\npara *em* ``lit`` `t <u>`_ [#a]_\n\n.. [#a] note\n   more\n", ""},
        {".. note::\n\n   - a\n\n     1. b\n\n   ::\n\n      \"@@@ lit\n\nterm\n   def\n", ""},
        {":f: v\n.. image:: a b\n   quoted\n", ""},
        {repeated("- ", 256) + "x\n", ""},
        {repeated("   ", 256) + "x\n", ""},
        {repeated("- ", 257) + "x\n", "rst import: nesting deeper than 256 levels"},
        {repeated("   ", 257) + "x\n", "rst import: nesting deeper than 256 levels"},
        {"a\n\n.. comment\n", "rst import: unsupported directive `.. comment`"},
        {"a\n\n.. [#] x\n", "rst import: invalid identifier ``"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(check_import_or_error(import_rst, c.source, local_dialektoi().path(), "rst import: "), "")
            << c.source;
        const Result<Document> imported = import_rst(c.source);
        EXPECT_EQ(imported ? "" : error_message(imported.error()), c.error) << c.source;
    }
}

}  // namespace
}  // namespace ilvex
