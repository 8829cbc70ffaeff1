#include "endo/light_markup/next_occurrence.hpp"

namespace ilvex {

std::optional<std::size_t> NextOccurrence::first(std::size_t from, std::size_t end) const {
    if (from < from_ || from > found_) {
        from_ = from;
        found_ = from <= text_.size() ? text_.find(needle_, from) : std::string_view::npos;
    }
    if (found_ == std::string_view::npos || found_ + needle_.size() > end) return std::nullopt;
    return found_;
}

}  // namespace ilvex
