// The headings of the light-markup dialektoi, which do not enclose what
// follows them: a paragraph holding one "#" to "######" sim.
#pragma once

#include <cstddef>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

// A paragraph whose only inline is the heading sim of `level` (1 to 6)
// holding `children`. An opener directly followed by more "#" would be read
// as a longer heading symbol ("@#" and "#x" give "@##x"), and an empty
// heading's opener runs into its closer: a space keeps them apart, which
// the parser drops again where a heading's text is trimmed. "######" is the
// longest heading symbol and runs on into nothing.
Block flat_heading(std::size_t level, std::vector<Inline> children);

}  // namespace ilvex
