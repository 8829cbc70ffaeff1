// A link with a visible text that differs from its target, as the importers
// write it: the text, then the target in parentheses as a link sim, so that
// neither is lost ("text (url)").
#pragma once

#include <string_view>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

// `label` followed by " (", the link sim of `target` and ")"; only the link
// sim when the label's plain text is empty or equals the target.
std::vector<Inline> labelled_link(std::vector<Inline> label, std::string_view target);

}  // namespace ilvex
