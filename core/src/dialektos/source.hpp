// Where resolution reads definition and glossa files from, by name.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialektos/result.hpp"

namespace ilvex {

class DefinitionSource {
public:
    virtual ~DefinitionSource() = default;

    // The text stored under `name`; nullopt when the source holds no such
    // file; an Error when the file is there but cannot be read.
    virtual Result<std::optional<std::string>> read(std::string_view name) const = 0;

    // Every name the source holds, in ascending byte order.
    virtual std::vector<std::string> list() const = 0;
};

}  // namespace ilvex
