#include <gtest/gtest.h>

#include <string>

#include "endo/import_errors.hpp"

namespace ilvex {
namespace {

struct ConstructorCase {
    Error (*make)(std::string_view);
    ErrorKind kind;
    const char* text;  // the full text for the message "x"
};

TEST(ImportErrors, PrefixAndKindOfEachImporter) {
    using K = ErrorKind;
    const ConstructorCase cases[] = {
        {tei_import_error, K::MissingResource, "missing or unreadable resource: tei import: x"},
        {docbook_import_error, K::MissingResource,
         "missing or unreadable resource: docbook import: x"},
        {jats_import_error, K::MissingResource, "missing or unreadable resource: jats import: x"},
        {usfm_import_error, K::MissingResource, "missing or unreadable resource: usfm import: x"},
        {usx_import_error, K::MissingResource, "missing or unreadable resource: usx import: x"},
        {osis_import_error, K::MissingResource, "missing or unreadable resource: osis import: x"},
        {djot_import_error, K::MissingResource, "missing or unreadable resource: djot import: x"},
        {org_import_error, K::MissingResource, "missing or unreadable resource: org import: x"},
        {bibtex_import_error, K::MissingResource,
         "missing or unreadable resource: bibtex import: x"},
        {html_import_error, K::Other, "html import: x"},
        {rst_import_error, K::Other, "rst import: x"},
    };
    for (const ConstructorCase& c : cases) {
        const Error error = c.make("x");
        EXPECT_EQ(error.kind, c.kind) << c.text;
        EXPECT_EQ(error_message(error), c.text);
        EXPECT_FALSE(error.location.has_value()) << c.text;
        EXPECT_TRUE(error.included_via.empty()) << c.text;
    }
}

}  // namespace
}  // namespace ilvex
