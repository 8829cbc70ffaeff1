#include "dialektos/resolution_stack.hpp"

#include <algorithm>

namespace ilvex {

ResolutionStack::ResolutionStack(std::string outermost) { push(std::move(outermost)); }

bool ResolutionStack::contains(std::string_view id) const {
    return std::any_of(frames_.begin(), frames_.end(), [&](const Frame& frame) { return frame.id == id; });
}

void ResolutionStack::push(std::string id) { frames_.push_back(Frame{std::move(id), 0}); }

std::size_t ResolutionStack::pop() {
    const std::size_t height = frames_.back().tallest_import + 1;
    frames_.pop_back();
    return height;
}

void ResolutionStack::note_import(std::size_t height) {
    if (!frames_.empty()) frames_.back().tallest_import = std::max(frames_.back().tallest_import, height);
}

const Dialektos* ResolutionStack::recall(const DefinitionSource& source, std::string_view id) {
    const auto record = sources_.find(&source);
    if (record == sources_.end()) return nullptr;
    const auto found = record->second.resolved.find(id);
    if (found == record->second.resolved.end() || depth() + found->second.height > max_depth) return nullptr;
    note_import(found->second.height);
    return &found->second.dialektos;
}

const Dialektos& ResolutionStack::remember(const DefinitionSource& source, std::string id, Dialektos dialektos,
                                           std::size_t height) {
    note_import(height);
    // An id resolves at most once per source and stack; a kept dialektos is
    // never replaced, since imports in progress may hold it.
    auto& resolved = sources_[&source].resolved;
    return resolved.try_emplace(std::move(id), Resolved{std::move(dialektos), height}).first->second.dialektos;
}

const std::vector<std::string>& ResolutionStack::listing(const DefinitionSource& source) {
    auto& listing = sources_[&source].listing;
    if (!listing) {
        listing = source.list();
        std::sort(listing->begin(), listing->end());
    }
    return *listing;
}

}  // namespace ilvex
