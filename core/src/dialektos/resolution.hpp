// Resolution of a dialektos id into a complete dialektos.
#pragma once

#include <string_view>

#include "dialektos/model.hpp"
#include "dialektos/resolution_stack.hpp"
#include "dialektos/result.hpp"
#include "dialektos/source.hpp"

namespace ilvex {

// Reads "<id>.lektos", else "<id>.dia", from `source` and parses it; an id
// that is already on `stack` is an inheritance cycle.
Result<Dialektos> resolve_dialektos(const DefinitionSource& source, std::string_view id, ResolutionStack& stack);

}  // namespace ilvex
