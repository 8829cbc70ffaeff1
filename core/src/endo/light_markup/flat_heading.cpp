#include "endo/light_markup/flat_heading.hpp"

#include <string>
#include <utility>
#include <variant>

#include "endo/tree_builders.hpp"

namespace ilvex {

Block flat_heading(std::size_t level, std::vector<Inline> children) {
    if (level < 6) {
        if (children.empty()) {
            children.emplace_back(Inline::Text{" "});
        } else if (auto* text = std::get_if<Inline::Text>(&children.front().node)) {
            if (text->text.starts_with('#')) text->text.insert(0, 1, ' ');
        }
    }
    return single_sim_paragraph(std::string(level, '#'), std::move(children));
}

}  // namespace ilvex
