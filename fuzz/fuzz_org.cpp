// The Org importer on arbitrary text: it fails only with its own messages,
// and what it builds otherwise must be written as a document that brachy
// gives back unchanged, the same text whether written whole or block by
// block as the import goes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "dialektos/error.hpp"
#include "endo/light_markup/org_importer.hpp"
#include "local_dialektoi.hpp"
#include "property.hpp"
#include "round_trip.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ilvex;
    const std::string_view text = fuzz::as_text(data, size);
    const Result<Document> imported = import_org(text);
    if (!imported) {
        const std::string message = error_message(imported.error());
        const std::string_view prefix = "missing or unreadable resource: org import: ";
        const std::string_view rest = std::string_view(message).substr(std::min(prefix.size(), message.size()));
        const bool known = message.starts_with(prefix) &&
                           (rest.starts_with("unterminated #+BEGIN_") || rest.starts_with("unsupported block `#+") ||
                            rest == "nesting deeper than 256 levels");
        fuzz::require(known ? "" : "unexpected failure: " + message);
        return 0;
    }
    fuzz::require(testing::check_streamed_import(import_org, text, testing::local_dialektoi().path()));
    return 0;
}
