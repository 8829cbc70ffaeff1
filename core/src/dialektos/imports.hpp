// Import lines of a definition text: which sims of another dialektos a
// dialektos takes, and under which symbols.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "dialektos/definition_text.hpp"
#include "dialektos/model.hpp"
#include "dialektos/resolution_stack.hpp"
#include "dialektos/result.hpp"
#include "dialektos/source.hpp"

namespace ilvex {

using SimTable = std::map<std::string, SimDef, std::less<>>;

// The symbols of a bracketed list "[sym ...]", in order, duplicates kept.
Result<std::vector<std::string>> parse_symbol_list(std::string_view text, const ErrorLocation& location);

// Stores `sim` under its symbol; a symbol already present is a conflict.
Status insert_sim(SimTable& sims, const ErrorLocation& location, SimDef sim);

// Carries out the import line at `index`: resolves the parent through
// `source` and `stack`, adds the selected sims to `dialektos` and records the
// import. An error met while resolving the parent is placed at this line.
Status read_import_line(const DefinitionText& text, std::size_t index, const DefinitionSource& source,
                        ResolutionStack& stack, Dialektos& dialektos);

}  // namespace ilvex
