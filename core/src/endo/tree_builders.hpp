// Small tree builders that several importers share.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

// The symbol of the link sim of the standard dialektoi.
inline constexpr std::string_view link_symbol = "><";

// A `Paragraph` whose only inline is an `EndoSimmere` of `symbol` holding
// `inlines`, with an empty suffix and `mirrored` set.
Block single_sim_paragraph(std::string_view symbol, std::vector<Inline> inlines);

// The link sim holding the target as its one `Text` child, with an empty
// suffix and `mirrored` set.
Inline link_inline(std::string_view target);

}  // namespace ilvex
