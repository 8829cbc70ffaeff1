#include "endo/user_defined_target.hpp"

#include <map>
#include <string>
#include <utility>

#include "dialektos/memory_source.hpp"
#include "dialektos/resolution.hpp"

namespace ilvex {

Result<Dialektos> user_defined_target_spelling() {
    const std::string file = std::string(user_defined_target) + ".dia";
    std::map<std::string, std::string> files = {{file, std::string(user_defined_target_definition)}};
    return resolve_from_sources(MemorySource(std::move(files)), user_defined_target);
}

Result<Dialektos> import_target_dialektos(std::string_view id) {
    return id == user_defined_target ? user_defined_target_spelling() : resolve_from_sources(MemorySource(), id);
}

}  // namespace ilvex
