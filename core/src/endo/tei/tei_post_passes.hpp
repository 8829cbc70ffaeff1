// The passes that run over each block of a TEI import as it is handed on:
// milestone normalization in prose documents, the rewrite of
// cross-references to entry keys in dictionaries.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "dendron/document.hpp"

namespace ilvex {

// What the milestone pass knows at a point of the document: the page in
// force and its scheme, and every scheme:value met so far.
struct TeiMilestoneState {
    std::string page;
    std::string page_scheme;
    std::unordered_set<std::string> seen;
};

// Walks the milestones of `block` in document order (the state carries
// them from block to block): a Bekker line number
// is read on the Bekker page in force ("5" after "1456a" is "1456a5"), a page
// milestone sets the page, a section milestone whose value begins with the
// page takes the page's scheme, and a milestone met before is replaced by a
// space.
void normalize_tei_milestones(Block& block, TeiMilestoneState& state);
void normalize_tei_milestone_inlines(std::vector<Inline>& inlines, TeiMilestoneState& state);

// Gives every ">" reference of `block` whose parameter is an entry
// identifier of `keys` that entry's key.
void rewrite_tei_entry_refs(Block& block, const std::unordered_map<std::string, std::string>& keys);
void rewrite_tei_entry_ref_inlines(std::vector<Inline>& inlines,
                                   const std::unordered_map<std::string, std::string>& keys);

}  // namespace ilvex
