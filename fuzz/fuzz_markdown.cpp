// The Markdown importer on arbitrary text: it never fails, and what it
// builds must be written as a document that brachy gives back unchanged.
#include <cstddef>
#include <cstdint>

#include "endo/markdown_importer.hpp"
#include "local_dialektoi.hpp"
#include "property.hpp"
#include "round_trip.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ilvex;
    const Document imported = import_markdown(fuzz::as_text(data, size));
    fuzz::require(testing::check_import(imported, testing::local_dialektoi().path()));
    return 0;
}
