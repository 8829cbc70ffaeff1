// The check entry on arbitrary text, in a directory with local dialektoi
// beside the standard ones. Whatever parses as a document must survive
// brachy and plero (with and without each glossa) unchanged, and its
// outline must build; a definition text goes through the definition parser
// and resolution of its imports.
#include <cstddef>
#include <cstdint>

#include "dendron/outline.hpp"
#include "dialektos/unicode.hpp"
#include "lib/check_entry.hpp"
#include "local_dialektoi.hpp"
#include "property.hpp"
#include "round_trip.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ilvex;
    const std::string path = testing::local_dialektoi().path();
    const std::string_view text = fuzz::as_text(data, size);
    fuzz::require(testing::check_document(text, path).failure);
    // The outline takes the document parser directly, on the NFC text.
    const std::string normalized = unicode::nfc(text);
    if (const auto parsed = parse_document_for_outline(normalized, path)) {
        (void)build_outline(parsed->document, parsed->outline_records, normalized, parsed->dialektos);
    }
    return 0;
}
