#include "dialektos/sim_lookup.hpp"

#include "dialektos/symbol_index.hpp"

namespace ilvex {

const SimDef* longest_symbol_match(const Dialektos& dialektos, std::string_view text) {
    return SymbolIndex(dialektos).longest_match(text);
}

NameLookup sim_by_name(const Dialektos& dialektos, std::string_view name) {
    const std::string* candidate = nullptr;
    auto hit = [&](const std::string& symbol) {
        if (candidate == nullptr) candidate = &symbol;
        return *candidate == symbol;
    };
    for (const auto& [symbol, sim] : dialektos.sims) {
        if (sim.name == name && !hit(symbol)) return {NameLookup::Outcome::Ambiguous, nullptr};
    }
    for (const auto& [lang, glossa] : dialektos.glossae) {
        for (const auto& [symbol, localized] : glossa) {
            if (localized == name && !hit(symbol)) return {NameLookup::Outcome::Ambiguous, nullptr};
        }
    }
    if (candidate == nullptr) return {};
    const auto found = dialektos.sims.find(*candidate);
    if (found == dialektos.sims.end()) return {};
    return {NameLookup::Outcome::Found, &found->second};
}

}  // namespace ilvex
