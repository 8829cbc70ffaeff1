#include "endo/labelled_link.hpp"

#include <utility>

#include "endo/tree_builders.hpp"

namespace ilvex {

std::vector<Inline> labelled_link(std::vector<Inline> label, std::string_view target) {
    const std::string text = inline_plain_text(label);
    if (text.empty() || text == target) {
        std::vector<Inline> only;
        only.push_back(link_inline(target));
        return only;
    }
    label.emplace_back(Inline::Text{" ("});
    label.push_back(link_inline(target));
    label.emplace_back(Inline::Text{")"});
    return label;
}

}  // namespace ilvex
