// The two lookups the document side performs on a dialektos.
#pragma once

#include <string_view>

#include "dialektos/model.hpp"

namespace ilvex {

// The sim whose symbol is the longest prefix of the leading run of symbol
// characters of `text`, or null. A one-off query: repeated queries build a
// SymbolIndex once.
const SimDef* longest_symbol_match(const Dialektos& dialektos, std::string_view text);

struct NameLookup {
    enum class Outcome { NotFound, Found, Ambiguous };
    Outcome outcome = Outcome::NotFound;
    const SimDef* sim = nullptr;  // set when Found
};

// The sim a primary or localized name designates; Ambiguous when the name
// designates two different symbols in the sims or in any glossa.
NameLookup sim_by_name(const Dialektos& dialektos, std::string_view name);

}  // namespace ilvex
