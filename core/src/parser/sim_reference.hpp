// Reading the sim token after a sigil: a brachygraphic symbol or a
// plerographic "{name}".
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "dialektos/error.hpp"
#include "dialektos/model.hpp"
#include "dialektos/result.hpp"
#include "dialektos/symbol_index.hpp"

namespace ilvex {

struct SimReference {
    const SimDef* sim = nullptr;      // null: no symbol matched
    std::optional<std::string> name;  // the name of a "{name}" token
    std::size_t byte_length = 0;      // the token's length, braces included
    std::size_t char_length = 0;
};

// `symbols`, when given, indexes `dialektos`: a parse looks its tokens up
// there instead of indexing the dialektos anew for each one.
Result<SimReference> resolve_sim_reference(const Dialektos& dialektos, const SymbolIndex* symbols,
                                           std::string_view text, const ErrorLocation& location);

// resolve_sim_reference whose errors come back without a location, for a
// caller that works out where it stands only when an error occurs.
Result<SimReference> find_sim_reference(const Dialektos& dialektos, const SymbolIndex* symbols,
                                        std::string_view text);

// body_closer made in `storage`: for a name, or a sim no index holds.
std::string_view made_body_closer(const SimDef& sim, const std::optional<std::string>& name, char sigil,
                                  std::string& storage);
// What closes a body opened by a sim token: "{name}" again when the token
// was a name, else the sim's episim; then `sigil`. `symbols`, when it indexes
// the sim's dialektos, has it made already; otherwise it is made in `storage`.
inline std::string_view body_closer(const SymbolIndex* symbols, const SimDef& sim,
                                    const std::optional<std::string>& name, char sigil, std::string& storage) {
    if (!name && symbols != nullptr) {
        const std::string_view made = symbols->closer(sim, sigil);
        if (!made.empty()) return made;
    }
    return made_body_closer(sim, name, sigil, storage);
}

}  // namespace ilvex
