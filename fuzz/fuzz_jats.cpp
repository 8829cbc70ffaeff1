// The JATS importer on arbitrary text: it either fails cleanly, with a
// message under the prefix of an XML importer, or what it builds is written
// as a document that brachy gives back unchanged, the same text whether
// written whole or block by block as the import goes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "endo/jats/jats_importer.hpp"
#include "local_dialektoi.hpp"
#include "property.hpp"
#include "round_trip.hpp"

namespace {

// The tokenizer's attribute errors read "html import: "; everything else
// comes through the missing-resource kind.
bool clean_failure(const std::string& message) {
    return message.starts_with("missing or unreadable resource: ") || message.starts_with("html import: ");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ilvex;
    const std::string_view text = fuzz::as_text(data, size);
    const Result<Document> imported = import_jats(text);
    if (!imported) {
        const std::string message = testing::failure_text(imported.error());
        if (!clean_failure(message)) fuzz::require("unexpected failure: " + message);
        return 0;
    }
    fuzz::require(testing::check_streamed_import(import_jats, text, testing::local_dialektoi().path()));
    return 0;
}
