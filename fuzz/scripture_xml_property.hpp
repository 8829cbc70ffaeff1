// The property of the scripture XML importers (OSIS, USX) on arbitrary text:
// an importer either fails with one of its own errors or one of the shared
// XML helpers', or what it builds must be written as a document that brachy
// gives back unchanged, the same whether written whole or as the import
// streams, and so must the document once the scheme pass has rewritten its
// marks.
#pragma once

#include <string>
#include <string_view>

#include "dendron/document.hpp"
#include "dialektos/error.hpp"
#include "endo/scripture/scheme_import.hpp"
#include "local_dialektoi.hpp"
#include "property.hpp"
#include "round_trip.hpp"

namespace ilvex::fuzz {

using CollectingScriptureImporter = Result<Document> (*)(std::string_view text);

inline std::string scheme_failure(ScriptureImporter importer, std::string_view text, std::string_view path) {
    DocumentCollector collector;
    if (!import_with_scheme(importer, text, "vers", collector)) return "the scheme import fails alone";
    return testing::check_import(std::move(collector).document(), path);
}

// `format` is the importer's name in its messages ("osis", "usx").
inline bool is_scripture_xml_error(const std::string& message, std::string_view format) {
    return message.starts_with("missing or unreadable resource: " + std::string(format) + " import: ") ||
           message.starts_with("missing or unreadable resource: tei import: ") ||
           message.starts_with("html import: ");
}

inline void check_scripture_xml_import(ScriptureImporter streaming, CollectingScriptureImporter collecting,
                                       std::string_view format, std::string_view text) {
    const Result<Document> imported = collecting(text);
    if (!imported) {
        const std::string message = error_message(imported.error());
        require(is_scripture_xml_error(message, format) ? "" : "unexpected error: " + message);
        return;
    }
    const std::string path = testing::local_dialektoi().path();
    require(testing::check_streamed_import(streaming, text, path));
    require(scheme_failure(streaming, text, path));
}

}  // namespace ilvex::fuzz
