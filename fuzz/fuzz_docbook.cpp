// The DocBook importer on arbitrary text: it fails only with an error of its
// own or of the shared XML layer, and what it builds otherwise must be
// written as a document that brachy gives back unchanged, the same text
// whether written whole or block by block as the import goes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "dialektos/error.hpp"
#include "endo/docbook/docbook_importer.hpp"
#include "local_dialektoi.hpp"
#include "property.hpp"
#include "round_trip.hpp"

namespace {

bool is_import_error(std::string_view message) {
    for (const std::string_view prefix : {"missing or unreadable resource: docbook import: ",
                                          "missing or unreadable resource: tei import: ", "html import: "}) {
        if (message.starts_with(prefix)) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ilvex;
    const std::string_view text = fuzz::as_text(data, size);
    const Result<Document> imported = import_docbook(text);
    if (!imported) {
        const std::string message = error_message(imported.error());
        if (!is_import_error(message)) fuzz::require("not an import error: " + message);
        return 0;
    }
    fuzz::require(testing::check_streamed_import(import_docbook, text, testing::local_dialektoi().path()));
    return 0;
}
