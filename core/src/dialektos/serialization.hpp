// The canonical text of a dialektos: every sim as its own sim block, sorted
// by name and symbol, then every vocabulary, always in the "@" sigil.
#pragma once

#include <string>

#include "dialektos/model.hpp"

namespace ilvex {

std::string serialize_dialektos(const Dialektos& dialektos);

// Appends the ostensive definition of `sim`, one line or, for a
// para-simmere, header, keyword lines and episim line, each ending in "\n".
void append_ostensive(std::string& out, const SimDef& sim);

}  // namespace ilvex
