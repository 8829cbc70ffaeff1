// The HTML importer on arbitrary text: it either refuses the text with an
// "html import: " error, the same whether the blocks are collected or
// written as they come, or what it builds must be written as a document
// that brachy gives back unchanged, and written block by block as the
// import goes it must be the same text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "endo/html/html_importer.hpp"
#include "local_dialektoi.hpp"
#include "property.hpp"
#include "round_trip.hpp"

namespace {

using namespace ilvex;

std::string refusal_failure(const Error& refused, std::string_view text) {
    const std::string message = testing::failure_text(refused);
    if (refused.kind != ErrorKind::Other || !message.starts_with("html import: ")) {
        return "not an html import error: " + message;
    }
    ImportWriter writer(text.size());
    const Status streamed = import_html(text, writer);
    if (streamed || testing::failure_text(streamed.error()) != message) {
        return "the streamed import answers otherwise than: " + message;
    }
    return "";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::as_text(data, size);
    DocumentCollector collector;
    if (Status imported = import_html(text, collector); !imported) {
        fuzz::require(refusal_failure(imported.error(), text));
        return 0;
    }
    fuzz::require(testing::check_streamed_import(import_html, text, testing::local_dialektoi().path()));
    return 0;
}
