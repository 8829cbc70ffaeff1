// The check entry on arbitrary text, in a directory with local dialektoi
// beside the standard ones. Whatever parses as a document must survive
// brachy and plero (with and without each glossa) unchanged, and its
// outline must build, alike as the parse goes and from the whole tree; a
// definition text goes through the definition parser and resolution of its
// imports.
#include <cstddef>
#include <cstdint>

#include "local_dialektoi.hpp"
#include "property.hpp"
#include "round_trip.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ilvex;
    const std::string path = testing::local_dialektoi().path();
    const std::string_view text = fuzz::as_text(data, size);
    fuzz::require(testing::check_document(text, path).failure);
    return 0;
}
