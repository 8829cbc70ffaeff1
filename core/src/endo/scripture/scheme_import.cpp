#include "endo/scripture/scheme_import.hpp"

#include <string>
#include <utility>

#include "dialektos/lexical.hpp"
#include "endo/scripture/scheme_pass.hpp"

namespace ilvex {

Status import_with_scheme(ScriptureImporter importer, std::string_view text, std::string_view scheme,
                          ImportSink& sink) {
    DocumentCollector collector;
    if (Status imported = importer(text, collector); !imported) return imported;
    if (!is_valid_genos(scheme)) {
        std::string message = "invalid milestone scheme `";
        message += scheme;
        message += '`';
        return Error(ErrorKind::Other, std::move(message));
    }
    Document document = std::move(collector).document();
    apply_scheme(document, scheme);
    if (Status declared = sink.declaration(document.dialektos, document.version); !declared) return declared;
    for (Block& block : document.blocks) {
        Block taken = std::move(block);  // freed once written
        sink.block(std::move(taken));
    }
    return {};
}

}  // namespace ilvex
