// Vocabulary blocks of a definition text.
#pragma once

#include <cstddef>
#include <map>
#include <string>

#include "dialektos/definition_text.hpp"
#include "dialektos/model.hpp"
#include "dialektos/result.hpp"

namespace ilvex {

// Which canonical term owns each alias of a vocabulary, as of the last block
// of that name that closed. A block that continues the vocabulary is checked
// against these claims and its own additions only, which reports exactly what
// a check of the whole vocabulary would, since the claims are free of
// conflicts.
using AliasClaims = std::map<std::string, std::string, std::less<>>;

struct VocabularyState {
    std::map<std::string, Vocabulary, std::less<>>& vocabularies;
    std::map<std::string, AliasClaims, std::less<>>& claims;
};

// Reads the vocabulary block opened at line `open` into the state, creating
// or continuing the vocabulary of its name. Returns the index of the line
// after the closing line.
Result<std::size_t> read_vocabulary_block(const DefinitionText& text, std::size_t open,
                                          VocabularyState state);

}  // namespace ilvex
