// An index of a dialektos's symbols for the lookups that parsing and writing
// make at every sim token.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dialektos/model.hpp"

namespace ilvex {

// The symbols in byte order, with where each first byte's group begins: a
// lookup searches only the symbols that share the text's first byte, and
// compares them byte by byte inline (symbols are a few bytes long, shorter
// than the set-up of a memcmp call). The index refers to the dialektos it
// was built from, which must outlive it.
class SymbolIndex {
public:
    explicit SymbolIndex(const Dialektos& dialektos);

    const Dialektos& dialektos() const { return *dialektos_; }

    // The sim whose symbol is the longest prefix of the leading run of
    // symbol characters of `text`, or null.
    const SimDef* longest_match(std::string_view text) const;

    // The sim with exactly this symbol, or null.
    const SimDef* find(std::string_view symbol) const;

    // What closes a body opened with `sim`'s symbol in a text whose sigil is
    // `sigil` ('@' or '\\'): its episim and the sigil, made once here for
    // every sim rather than at every opener; empty for a sim of another
    // dialektos.
    std::string_view closer(const SimDef& sim, char sigil) const {
        // Most symbols are one ASCII byte: their entry is at hand.
        const std::string& symbol = sim.symbol;
        const Entry* entry = symbol.size() == 1 && static_cast<unsigned char>(symbol[0]) < 0x80
                                 ? one_byte_[static_cast<unsigned char>(symbol[0])]
                                 : entry_of(symbol);
        if (entry == nullptr || entry->sim != &sim) return {};
        return closers_[static_cast<std::size_t>(entry - entries_.data())][sigil == '@' ? 0 : 1];
    }

private:
    struct Entry {
        std::string_view symbol;
        const SimDef* sim;
        bool symbol_chars_only;  // the symbol is a run of symbol characters
    };

    // The entries whose symbol begins with the first byte of `text`.
    std::pair<const Entry*, const Entry*> group_of(std::string_view text) const;
    // The entry of exactly this symbol, or null.
    const Entry* entry_of(std::string_view symbol) const;

    const Dialektos* dialektos_;
    std::vector<Entry> entries_;
    // The closers of each entry's sim, with '@' and with '\\'.
    std::vector<std::array<std::string, 2>> closers_;
    // The entry of each one-byte ASCII symbol, by that byte.
    std::array<const Entry*, 128> one_byte_{};
    std::array<std::uint32_t, 257> group_start_{};
};

}  // namespace ilvex
