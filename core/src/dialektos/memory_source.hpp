// The definition source over texts handed in by the caller, keyed by file
// name.
#pragma once

#include <map>
#include <string>

#include "dialektos/source.hpp"

namespace ilvex {

class MemorySource : public DefinitionSource {
public:
    MemorySource() = default;
    explicit MemorySource(std::map<std::string, std::string> files) : files_(std::move(files)) {}

    // A copy of the text stored under exactly `name`; never fails.
    Result<std::optional<std::string>> read(std::string_view name) const override;
    std::vector<std::string> list() const override;

private:
    std::map<std::string, std::string> files_;
};

}  // namespace ilvex
