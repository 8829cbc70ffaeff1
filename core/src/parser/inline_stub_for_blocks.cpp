// THROWAWAY stand-ins for resolution, so that the document parser builds and
// runs before resolution is merged: the fourteen standard ids resolve to an
// empty dialektos, every other id is unresolvable, and every definition text
// is an empty dialektos. Delete this file at merge; nothing may rely on how
// these behave.
#include <algorithm>
#include <array>

#include "dialektos/resolution.hpp"

namespace ilvex {

Result<Dialektos> resolve_from_dir(std::string_view, std::string_view id) {
    static constexpr std::array<std::string_view, 14> standard = {
        "il-djot",     "koine",  "il-prosa", "il-poesia", "il-drama", "il-docbook", "il-html",
        "il-markdown", "il-org", "il-rst",   "il-tei",    "il-usfm",  "litogramma", "bibliogramma"};
    if (std::find(standard.begin(), standard.end(), id) == standard.end()) {
        return Error(ErrorKind::UnresolvedDialektos, std::string(id));
    }
    Dialektos dialektos;
    dialektos.id = std::string(id);
    return dialektos;
}

Result<Dialektos> parse_definition_file(std::string_view, std::string_view) { return Dialektos{}; }

}  // namespace ilvex
