#include "dialektos/std_library.hpp"

namespace ilvex {

const StdDefinition* find_std_definition(std::string_view id) {
    for (const StdDefinition& definition : std_definitions()) {
        if (definition.id == id) return &definition;
    }
    return nullptr;
}

std::vector<std::string> std_dialektos_ids() {
    std::vector<std::string> ids;
    for (const StdDefinition& definition : std_definitions()) ids.emplace_back(definition.id);
    return ids;
}

std::string std_source_name(std::string_view id) { return "std:/" + std::string(id) + ".dia"; }

}  // namespace ilvex
