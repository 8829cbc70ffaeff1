// The definition-file parser: declaration, comments, imports, vocabularies
// and sim blocks of a text that declares the meta-dialektos `ilvex`.
#pragma once

#include <string_view>

#include "dialektos/model.hpp"
#include "dialektos/resolution_stack.hpp"
#include "dialektos/result.hpp"
#include "dialektos/source.hpp"

namespace ilvex {

// Parses `text` into a dialektos carrying `id`. Errors are located at
// `source_name`. Imported dialektoi resolve through `source` and `stack`. The
// text is taken as it is (no normalization), and the result has no glossae.
Result<Dialektos> parse_definition(std::string_view text, std::string_view source_name, std::string_view id,
                                   const DefinitionSource& source, ResolutionStack& stack);

}  // namespace ilvex
