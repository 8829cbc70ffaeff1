// The Markdown importer on arbitrary text: it never fails, what it builds
// must be written as a document that brachy gives back unchanged, and
// written block by block as the import goes it must be the same text.
#include <cstddef>
#include <cstdint>

#include "endo/light_markup/markdown_importer.hpp"
#include "local_dialektoi.hpp"
#include "property.hpp"
#include "round_trip.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ilvex;
    fuzz::require(testing::check_streamed_import(import_markdown, fuzz::as_text(data, size),
                                                 testing::local_dialektoi().path()));
    return 0;
}
