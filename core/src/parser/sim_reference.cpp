#include "parser/sim_reference.hpp"

#include "dialektos/lexical.hpp"
#include "dialektos/sim_lookup.hpp"
#include "dialektos/unicode.hpp"
#include "parser/concat.hpp"

namespace ilvex {
namespace {

SimReference symbol_reference(const Dialektos& dialektos, const SymbolIndex* symbols,
                              std::string_view text) {
    const SimDef* sim =
        symbols != nullptr ? symbols->longest_match(text) : longest_symbol_match(dialektos, text);
    if (sim == nullptr) return {};
    return {sim, std::nullopt, sim->symbol.size(), unicode::char_count(sim->symbol)};
}

// The name is everything up to the first "}", wherever that is: the token
// is not limited to a run of name characters.
Result<SimReference> name_reference(const Dialektos& dialektos, std::string_view text) {
    const auto close = text.find('}', 1);
    if (close == std::string_view::npos) {
        return Error(ErrorKind::Other, "unterminated plerographic name reference");
    }
    const std::string_view name = text.substr(1, close - 1);
    const NameLookup lookup = sim_by_name(dialektos, name);
    switch (lookup.outcome) {
        case NameLookup::Outcome::NotFound:
            return Error(ErrorKind::UndefinedSim, concat({"{", name, "}"}));
        case NameLookup::Outcome::Ambiguous:
            return Error(ErrorKind::Other,
                         concat({"sim name `", name,
                                 "` is duplicated in this dialektos and not plerographically "
                                 "addressable"}));
        case NameLookup::Outcome::Found: break;
    }
    return SimReference{lookup.sim, std::string(name), close + 1, unicode::char_count(name) + 2};
}

}  // namespace

Result<SimReference> find_sim_reference(const Dialektos& dialektos, const SymbolIndex* symbols,
                                        std::string_view text) {
    if (!text.starts_with('{')) return symbol_reference(dialektos, symbols, text);
    return name_reference(dialektos, text);
}

Result<SimReference> resolve_sim_reference(const Dialektos& dialektos, const SymbolIndex* symbols,
                                           std::string_view text, const ErrorLocation& location) {
    auto found = find_sim_reference(dialektos, symbols, text);
    if (!found) found.error().location = location;
    return found;
}

std::string_view made_body_closer(const SimDef& sim, const std::optional<std::string>& name, char sigil,
                                  std::string& storage) {
    storage = name ? concat({"{", *name, "}"}) : episim_symbol(sim.symbol, sim.mirrored);
    storage += sigil;
    return storage;
}

}  // namespace ilvex
