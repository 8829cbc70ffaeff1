#include "dendron/flat_inlines.hpp"

#include <variant>

namespace ilvex {
namespace {

const Suffix* unless_empty(const Suffix& suffix) { return suffix.empty() ? nullptr : &suffix; }

}  // namespace

bool flatten(const std::vector<Inline>& list, FlatInlines& out) {
    using Kind = FlatInline::Kind;
    for (const Inline& item : list) {
        if (const auto* text = std::get_if<Inline::Text>(&item.node)) {
            out.items.push_back({Kind::Text, false, true, text->text, {}, nullptr});
        } else if (const auto* sim = std::get_if<Inline::EndoSimmere>(&item.node)) {
            out.items.push_back({Kind::Open, false, sim->mirrored, sim->symbol, {}, nullptr});
            if (!flatten(sim->children, out)) return false;
            out.items.push_back({Kind::Close, false, true, {}, {}, unless_empty(sim->suffix)});
        } else if (const auto* enlexis = std::get_if<Inline::Enlexis>(&item.node)) {
            out.items.push_back({Kind::Enlexis, false, true, enlexis->text, {}, unless_empty(enlexis->suffix)});
        } else if (const auto* deixis = std::get_if<Inline::Deixis>(&item.node)) {
            out.items.push_back({Kind::Deixis, false, true, deixis->symbol, deixis->target, unless_empty(deixis->suffix)});
        } else if (const auto* monosim = std::get_if<Inline::Monosim>(&item.node)) {
            out.items.push_back({Kind::Monosim, false, true, monosim->symbol, monosim->param, unless_empty(monosim->suffix)});
        } else if (const auto* milestone = std::get_if<Inline::Milestone>(&item.node)) {
            out.items.push_back(
                {Kind::Milestone, false, true, milestone->scheme, milestone->value, unless_empty(milestone->suffix)});
        } else if (const auto* anchor = std::get_if<Inline::OnymAnchor>(&item.node)) {
            out.items.push_back({Kind::OnymAnchor, false, true, anchor->onym, {}, nullptr});
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace ilvex
