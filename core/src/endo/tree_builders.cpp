#include "endo/tree_builders.hpp"

#include <utility>

namespace ilvex {

Block single_sim_paragraph(std::string_view symbol, std::vector<Inline> inlines) {
    std::vector<Inline> only;
    only.emplace_back(Inline::EndoSimmere{std::string(symbol), std::move(inlines), {}, true});
    return Block::Paragraph{std::move(only)};
}

Inline link_inline(std::string_view target) {
    std::vector<Inline> children;
    children.emplace_back(Inline::Text{std::string(target)});
    return Inline::EndoSimmere{std::string(link_symbol), std::move(children), {}, true};
}

}  // namespace ilvex
