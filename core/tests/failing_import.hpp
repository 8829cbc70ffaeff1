// The property of an importer that may refuse its input: either it fails
// with one of its own messages, the same whether it collects the tree or
// streams it to the writer, or what it builds passes check_streamed_import.
#pragma once

#include <string>
#include <string_view>

#include "dendron/document.hpp"
#include "endo/import_sink.hpp"
#include "endo/import_writer.hpp"
#include "round_trip.hpp"

namespace ilvex::testing {

// `message_start` is how each of the importer's messages begins as the
// caller reads it ("rst import: ", "missing or unreadable resource: bibtex
// import: ").
inline std::string check_import_or_error(StreamingImporter importer, std::string_view source,
                                         std::string_view path, std::string_view message_start) {
    DocumentCollector collector;
    const Status imported = importer(source, collector);
    if (imported) return check_streamed_import(importer, source, path);
    const std::string message = failure_text(imported.error());
    if (!message.starts_with(message_start)) return "import fails with a foreign message: " + message + "\n";
    ImportWriter writer(source.size());
    const Status streamed = importer(source, writer);
    if (streamed) return "import fails when collected, not when streamed: " + message + "\n";
    if (failure_text(streamed.error()) != message) {
        return "streamed import fails otherwise: " + failure_text(streamed.error()) + "\n";
    }
    return "";
}

}  // namespace ilvex::testing
