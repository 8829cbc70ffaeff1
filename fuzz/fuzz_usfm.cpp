// The USFM importer on arbitrary text: it either fails with one of its own
// errors, or what it builds must be written as a document that brachy gives
// back unchanged, the same whether written whole or as the import streams,
// and so must the document once the scheme pass has rewritten its marks.
#include <cstddef>
#include <cstdint>
#include <string>

#include "dialektos/error.hpp"
#include "endo/scripture/scheme_import.hpp"
#include "endo/scripture/usfm_importer.hpp"
#include "local_dialektoi.hpp"
#include "property.hpp"
#include "round_trip.hpp"

namespace {

std::string scheme_failure(std::string_view text, std::string_view path) {
    using namespace ilvex;
    DocumentCollector collector;
    if (!import_with_scheme(import_usfm, text, "vers", collector)) return "the scheme import fails alone";
    return testing::check_import(std::move(collector).document(), path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ilvex;
    const std::string_view text = fuzz::as_text(data, size);
    const Result<Document> imported = import_usfm(text);
    if (!imported) {
        const std::string message = error_message(imported.error());
        fuzz::require(message.starts_with("missing or unreadable resource: usfm import: ")
                          ? ""
                          : "unexpected error: " + message);
        return 0;
    }
    const std::string path = testing::local_dialektoi().path();
    fuzz::require(testing::check_streamed_import(import_usfm, text, path));
    fuzz::require(scheme_failure(text, path));
    return 0;
}
