// The TEI importer on arbitrary text: it fails with a clean error, or what
// it builds is written as a document that brachy gives back unchanged (a
// dictionary under the tests' lexigramma definition), and written block by
// block as the import goes it is the same text.
#include <cstddef>
#include <cstdint>

#include "endo/tei/tei_importer.hpp"
#include "lexigramma_fixture.hpp"
#include "property.hpp"
#include "round_trip.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ilvex;
    const std::string_view text = fuzz::as_text(data, size);
    if (!import_tei(text)) return 0;  // a clean error
    const testing::StreamingImporter importer = import_tei;
    fuzz::require(testing::check_streamed_import(importer, text, testing::lexigramma_directory().path()));
    return 0;
}
