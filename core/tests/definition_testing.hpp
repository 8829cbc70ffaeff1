// Helpers for the tests of definition texts: an in-memory source that counts
// its reads, and parsing a text under the source name "t.dia".
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "dialektos/definition_parser.hpp"
#include "dialektos/error.hpp"
#include "dialektos/source.hpp"

namespace ilvex::testing {

class TextSource : public DefinitionSource {
public:
    TextSource() = default;
    explicit TextSource(std::map<std::string, std::string> files) : files_(std::move(files)) {}

    Result<std::optional<std::string>> read(std::string_view name) const override {
        ++reads_;
        const auto found = files_.find(std::string(name));
        if (found == files_.end()) return std::optional<std::string>();
        return std::optional<std::string>(found->second);
    }
    std::vector<std::string> list() const override {
        std::vector<std::string> names;
        for (const auto& entry : files_) names.push_back(entry.first);
        return names;
    }
    int reads() const { return reads_; }

private:
    std::map<std::string, std::string> files_;
    mutable int reads_ = 0;
};

inline Result<Dialektos> parse(std::string_view text, const DefinitionSource& source = TextSource()) {
    ResolutionStack stack("t");
    return parse_definition(text, "t.dia", "t", source, stack);
}

// The error text of parsing `text`, or "ok".
inline std::string outcome(std::string_view text, const DefinitionSource& source = TextSource()) {
    const auto parsed = parse(text, source);
    return parsed ? "ok" : error_message(parsed.error());
}

}  // namespace ilvex::testing
