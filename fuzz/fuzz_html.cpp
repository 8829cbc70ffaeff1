// The HTML importer on arbitrary text: it either refuses the text with an
// "html import: " error, the same whether the blocks are collected or
// written as they come, or what it builds must be written as a document
// that brachy gives back unchanged, and written block by block as the
// import goes it must be the same text.
#include <cstddef>
#include <cstdint>

#include "endo/html/html_importer.hpp"
#include "failing_import.hpp"
#include "local_dialektoi.hpp"
#include "property.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ilvex;
    fuzz::require(testing::check_import_or_error(import_html, fuzz::as_text(data, size),
                                              testing::local_dialektoi().path(), "html import: "));
    return 0;
}
