#include "endo/tei/tei_context.hpp"

#include "endo/import_errors.hpp"

namespace ilvex {

TeiContext::TeiContext(const std::vector<XmlToken>& tokens)
    : tokens(tokens), closes(tokens), import(tei_import_error) {}

}  // namespace ilvex
