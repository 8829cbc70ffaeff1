#include "dialektos/memory_source.hpp"

namespace ilvex {

Result<std::optional<std::string>> MemorySource::read(std::string_view name) const {
    const auto found = files_.find(std::string(name));
    if (found == files_.end()) return std::optional<std::string>();
    return std::optional<std::string>(found->second);
}

std::vector<std::string> MemorySource::list() const {
    std::vector<std::string> names;
    names.reserve(files_.size());
    for (const auto& entry : files_) names.push_back(entry.first);
    return names;
}

}  // namespace ilvex
