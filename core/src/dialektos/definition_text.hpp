// A definition text as its readers see it: split into lines once, with the
// name its errors are located at and the keywords of its sigil.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dialektos/error.hpp"
#include "dialektos/keywords.hpp"

namespace ilvex {

// The text split at every "\n": a text ending in "\n" has a last, empty line,
// and a text without any "\n" is one line. Indices are 0-based; the line
// number of index i is i + 1.
class DefinitionLines {
public:
    explicit DefinitionLines(std::string_view text);

    std::size_t size() const { return lines_.size(); }
    std::string_view raw(std::size_t index) const { return lines_[index]; }
    // The line without White_Space at either end, which is what every test
    // of a definition line looks at.
    std::string_view trimmed(std::size_t index) const;

private:
    std::vector<std::string_view> lines_;
};

struct DefinitionText {
    const DefinitionLines& lines;
    std::string_view source_name;
    const Keywords& keywords;

    // `error` placed at the line of `index`, column 1.
    Error at_line(Error error, std::size_t index) const;
    // An InvalidDefinition error with `message`, placed at the line of `index`.
    Error invalid(std::size_t index, std::string message) const;
};

// "`" + text + "`": how messages quote the item they name.
std::string quoted(std::string_view text);

// The words of `text`: its pieces between runs of White_Space.
std::vector<std::string_view> split_words(std::string_view text);

}  // namespace ilvex
