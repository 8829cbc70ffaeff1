#include "endo/tei/tei_context.hpp"

#include "endo/import_errors.hpp"

namespace ilvex {

TeiContext::TeiContext(std::string_view text) : tokens(text), import(tei_import_error) {}

}  // namespace ilvex
