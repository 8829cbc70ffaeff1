#include "endo/light_markup/next_occurrence.hpp"

namespace ilvex {

std::optional<std::size_t> NextOccurrence::first(std::size_t from, std::size_t end) const {
    if (from < from_ || from > found_) {
        from_ = from;
        found_ = search(from);
    }
    if (found_ >= end) return std::nullopt;
    return found_;
}

std::size_t NextOccurrence::search(std::size_t from) const {
    for (std::size_t k = text_.find(pattern_[0], from); k != std::string_view::npos;
         k = text_.find(pattern_[0], k + 1)) {
        if (pattern_.size() == 1 || (k + 1 < text_.size() && text_[k + 1] == pattern_[1])) return k;
    }
    return text_.size();
}

}  // namespace ilvex
