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
    for (std::size_t k = text_.find(byte_, from); k != std::string_view::npos;
         k = text_.find(byte_, k + 1)) {
        if (!doubled_ || (k + 1 < text_.size() && text_[k + 1] == byte_)) return k;
    }
    return text_.size();
}

}  // namespace ilvex
