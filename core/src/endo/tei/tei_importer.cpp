#include "endo/tei/tei_importer.hpp"

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

#include "dialektos/unicode.hpp"
#include "endo/tei/tei_dictionary_frame.hpp"
#include "endo/tei/tei_prose_frame.hpp"
#include "endo/xml/xml_tokenizer.hpp"

namespace ilvex {
namespace {

constexpr std::string_view entry_name = "entry";

// Whether some "entry" in `text` may be the name of a start tag: right
// after its "<" or after white space (which may stand between "<" and the
// name). A text without one holds no entry, and needs no tokenizing to
// tell.
bool may_hold_entry(std::string_view text) {
    // A skipping search: a prose text has "e" everywhere.
    const std::boyer_moore_horspool_searcher searcher(entry_name.begin(), entry_name.end());
    for (auto at = std::search(text.begin(), text.end(), searcher); at != text.end();
         at = std::search(at + 1, text.end(), searcher)) {
        if (at == text.begin()) continue;
        const unsigned char before = static_cast<unsigned char>(*(at - 1));
        if (before == '<' || before >= 0x80 || unicode::is_whitespace(before)) return true;
    }
    return false;
}

// One entry anywhere makes the text a dictionary. The tokens are read up to
// the first entry only; a tokenizer error before it is the import's error.
Result<bool> is_dictionary(std::string_view text) {
    if (!may_hold_entry(text)) return false;
    XmlTokenReader reader = XmlTokenReader::xml(text);
    while (true) {
        Result<std::optional<XmlToken>> token = reader.next();
        if (!token) return std::move(token).error();
        if (!token->has_value()) return false;
        const auto* open = std::get_if<XmlOpen>(&**token);
        if (open != nullptr && open->name == entry_name) return true;
    }
}

}  // namespace

Status import_tei(std::string_view text, ImportSink& sink) {
    Result<bool> dictionary = is_dictionary(text);
    if (!dictionary) return std::move(dictionary).error();
    if (Status declared = sink.declaration(*dictionary ? "lexigramma" : "litogramma", std::nullopt); !declared) {
        return declared;
    }
    return *dictionary ? import_tei_dictionary(text, sink) : import_tei_prose(text, sink);
}

Result<Document> import_tei(std::string_view text) {
    DocumentCollector collector;
    if (Status imported = import_tei(text, collector); !imported) return std::move(imported).error();
    return std::move(collector).document();
}

}  // namespace ilvex
