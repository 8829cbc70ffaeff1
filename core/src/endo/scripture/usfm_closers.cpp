#include "endo/scripture/usfm_closers.hpp"

#include <algorithm>
#include <tuple>

namespace ilvex {

bool is_usfm_name_byte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

std::size_t usfm_name_length(std::string_view text, std::size_t from) {
    std::size_t end = from;
    while (end < text.size() && is_usfm_name_byte(text[end])) ++end;
    return end - from;
}

UsfmCloserIndex::UsfmCloserIndex(std::string_view text) {
    for (std::size_t at = text.find('\\'); at != std::string_view::npos; at = text.find('\\', at + 1)) {
        std::size_t end = at + 1;
        if (end < text.size() && text[end] == '+') ++end;
        end += usfm_name_length(text, end);
        if (end < text.size() && text[end] == '*') closers_.push_back({text.substr(at + 1, end - at - 1), at});
    }
    // Found in order of position: a stable sort by key keeps each key's
    // positions ascending.
    std::stable_sort(closers_.begin(), closers_.end(),
                     [](const Closer& a, const Closer& b) { return a.key < b.key; });
}

std::size_t UsfmCloserIndex::find(std::string_view key, std::size_t from, std::size_t end) const {
    const auto first = std::lower_bound(closers_.begin(), closers_.end(), std::tie(key, from),
                                        [](const Closer& c, const std::tuple<std::string_view&, std::size_t&>& k) {
                                            return std::tie(c.key, c.at) < k;
                                        });
    if (first == closers_.end() || first->key != key) return npos;
    // "\" + key + "*" must lie wholly before `end`.
    if (first->at + key.size() + 2 > end) return npos;
    return first->at;
}

}  // namespace ilvex
