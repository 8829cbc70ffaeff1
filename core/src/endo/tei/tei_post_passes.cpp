#include "endo/tei/tei_post_passes.hpp"

#include <algorithm>
#include <utility>

namespace ilvex {
namespace {

bool all_ascii_digits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool has_genos(const Suffix& suffix, std::string_view genos) {
    return std::find(suffix.genoses.begin(), suffix.genoses.end(), genos) != suffix.genoses.end();
}

// The milestone read against the page in force; false when the same
// milestone was met before.
bool normalize_milestone(Inline::Milestone& milestone, TeiMilestoneState& state) {
    if (milestone.scheme == "bekker") {
        if (!all_ascii_digits(milestone.value)) {
            state.page = milestone.value;
            state.page_scheme = "bekker";
        } else if (!state.page.empty()) {
            milestone.value = state.page + milestone.value;
        }
    } else if (has_genos(milestone.suffix, "page")) {
        state.page = milestone.value;
        state.page_scheme = milestone.scheme;
    } else if (milestone.scheme == "section" && !state.page_scheme.empty() &&
               milestone.value.starts_with(state.page)) {
        milestone.scheme = state.page_scheme;
    }
    std::string key = milestone.scheme;
    key += ':';
    key += milestone.value;
    return state.seen.insert(std::move(key)).second;
}

template <class OnInlines>
void for_each_inline_list(std::vector<Block>& blocks, bool verse, OnInlines& on_inlines);

// Calls `on_inlines` for every inline list of `block` that the TEI passes
// enter, in document order: a paragraph's, a Para's lemma, children and
// hypograph, a Stichoi's lemma, lines and hypograph (when `verse`), the
// children of a Diaphane or Englossis.
template <class OnInlines>
void for_each_inline_list(Block& block, bool verse, OnInlines& on_inlines) {
    std::visit(
        [&](auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, Block::Paragraph>) {
                on_inlines(x.inlines);
            } else if constexpr (std::is_same_v<T, Block::Para>) {
                on_inlines(x.lemma);
                for_each_inline_list(x.children, verse, on_inlines);
                on_inlines(x.hypograph);
            } else if constexpr (std::is_same_v<T, Block::Stichoi>) {
                if (!verse) return;
                on_inlines(x.lemma);
                for (Strophe& strophe : x.strophes) {
                    for (std::vector<Inline>& line : strophe) on_inlines(line);
                }
                on_inlines(x.hypograph);
            } else if constexpr (std::is_same_v<T, Block::Diaphane> || std::is_same_v<T, Block::Englossis>) {
                for_each_inline_list(x.children, verse, on_inlines);
            }
        },
        block.node);
}

template <class OnInlines>
void for_each_inline_list(std::vector<Block>& blocks, bool verse, OnInlines& on_inlines) {
    for (Block& block : blocks) for_each_inline_list(block, verse, on_inlines);
}

// The children of a sim or diaphane inline, where the passes enter them.
std::vector<Inline>* nested_inlines(Inline& item) {
    if (auto* sim = std::get_if<Inline::EndoSimmere>(&item.node)) return &sim->children;
    if (auto* diaphane = std::get_if<Inline::Diaphane>(&item.node)) return &diaphane->children;
    return nullptr;
}

}  // namespace

void normalize_tei_milestone_inlines(std::vector<Inline>& inlines, TeiMilestoneState& state) {
    for (Inline& item : inlines) {
        if (std::vector<Inline>* children = nested_inlines(item)) {
            normalize_tei_milestone_inlines(*children, state);
        } else if (auto* milestone = std::get_if<Inline::Milestone>(&item.node)) {
            if (!normalize_milestone(*milestone, state)) item = Inline::Text{" "};
        }
    }
}

void normalize_tei_milestones(Block& block, TeiMilestoneState& state) {
    auto on_inlines = [&state](std::vector<Inline>& inlines) { normalize_tei_milestone_inlines(inlines, state); };
    for_each_inline_list(block, true, on_inlines);
}

void rewrite_tei_entry_ref_inlines(std::vector<Inline>& inlines,
                                   const std::unordered_map<std::string, std::string>& keys) {
    for (Inline& item : inlines) {
        if (std::vector<Inline>* children = nested_inlines(item)) {
            rewrite_tei_entry_ref_inlines(*children, keys);
        } else if (auto* ref = std::get_if<Inline::Monosim>(&item.node); ref != nullptr && ref->symbol == ">") {
            if (const auto key = keys.find(ref->param); key != keys.end()) ref->param = key->second;
        }
    }
}

void rewrite_tei_entry_refs(Block& block, const std::unordered_map<std::string, std::string>& keys) {
    if (keys.empty()) return;
    auto on_inlines = [&keys](std::vector<Inline>& inlines) { rewrite_tei_entry_ref_inlines(inlines, keys); };
    for_each_inline_list(block, false, on_inlines);
}

}  // namespace ilvex
