// The entries of a map keyed by sim symbols (or names) found lately, for
// lookups that repeat a handful of keys many times over: each key has one
// slot, chosen by its length and its second and last-but-one bytes, and is
// found there by one compare instead of a hash of the whole key. A key
// whose slot another has taken is looked up in the map again.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace ilvex::writing {

inline constexpr std::size_t recent_slots = 32;

// The slot of `key`: by its length and its second and last-but-one bytes,
// which tell apart the symbols of a dialektos that share a first byte.
inline std::size_t recent_slot(std::string_view key) {
    if (key.size() < 2) return 0;
    const auto second = static_cast<unsigned char>(key[1]);
    const auto before_last = static_cast<unsigned char>(key[key.size() - 2]);
    return (key.size() * 7 + second * 3 + before_last) % recent_slots;
}

// `Entry` is a map's element (`first` the key); the map must keep its
// elements in place while more are added, as node-based maps do.
template <class Entry>
class RecentEntries {
public:
    const Entry* find(std::string_view key) const {
        const Entry* entry = slots_[recent_slot(key)];
        return entry != nullptr && entry->first == key ? entry : nullptr;
    }

    void remember(const Entry& entry) { slots_[recent_slot(entry.first)] = &entry; }

private:
    std::array<const Entry*, recent_slots> slots_{};
};

}  // namespace ilvex::writing
