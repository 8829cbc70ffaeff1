// The standard dialektoi embedded in the library.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ilvex {

struct StdDefinition {
    std::string_view id;
    std::string_view text;  // the definition text exactly as stored
};

// The embedded table, in its fixed order.
std::span<const StdDefinition> std_definitions();

// The first entry whose id equals `id` byte for byte, or null.
const StdDefinition* find_std_definition(std::string_view id);

std::vector<std::string> std_dialektos_ids();

// The name errors in the embedded definition of `id` are located at.
std::string std_source_name(std::string_view id);

}  // namespace ilvex
