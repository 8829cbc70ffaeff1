#include "dialektos/symbol_index.hpp"

#include <algorithm>

#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

unsigned byte_value(char c) { return static_cast<unsigned char>(c); }

bool is_continuation_byte(char b) { return (byte_value(b) & 0xC0) == 0x80; }

// Whether the first `length` bytes of `text` are whole characters as
// next_char reads them: a byte that continues a character starts none,
// unless it stands alone, and then it reads as a character of its own.
bool ends_on_character(std::string_view text, std::size_t length) {
    if (length == text.size() || !is_continuation_byte(text[length])) return true;
    std::size_t i = 0;
    while (i < length) unicode::next_char(text, i);
    return i == length;
}

std::size_t common_prefix_length(std::string_view a, std::string_view b) {
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t i = 0;
    while (i < limit && a[i] == b[i]) ++i;
    return i;
}

// Byte order, as the map of sims keeps it.
bool byte_less(std::string_view a, std::string_view b) {
    const std::size_t common = common_prefix_length(a, b);
    if (common == a.size() || common == b.size()) return a.size() < b.size();
    return byte_value(a[common]) < byte_value(b[common]);
}

}  // namespace

SymbolIndex::SymbolIndex(const Dialektos& dialektos) : dialektos_(&dialektos) {
    entries_.reserve(dialektos.sims.size());
    for (const auto& [symbol, sim] : dialektos.sims) {
        if (!symbol.empty()) entries_.push_back({symbol, &sim, symbol_run_length(symbol) == symbol.size()});
    }
    std::size_t at = 0;
    for (unsigned byte = 0; byte < 256; ++byte) {
        group_start_[byte] = static_cast<std::uint32_t>(at);
        while (at < entries_.size() && byte_value(entries_[at].symbol.front()) == byte) ++at;
    }
    group_start_[256] = static_cast<std::uint32_t>(entries_.size());
    for (const Entry& entry : entries_) {
        if (entry.symbol.size() == 1 && byte_value(entry.symbol[0]) < 0x80) one_byte_[byte_value(entry.symbol[0])] = &entry;
    }
    closers_.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        const std::string episim = episim_symbol(entry.symbol, entry.sim->mirrored);
        closers_.push_back({episim + '@', episim + '\\'});
    }
}

std::pair<const SymbolIndex::Entry*, const SymbolIndex::Entry*> SymbolIndex::group_of(std::string_view text) const {
    const unsigned byte = byte_value(text.front());
    return {entries_.data() + group_start_[byte], entries_.data() + group_start_[byte + 1]};
}

// The largest symbol not above a text is either the text's longest symbol
// prefix, or it shares a common prefix with the text that bounds every
// symbol prefix: a longer symbol prefix would sort between that symbol and
// the text. So each probe either answers or shortens the text to that
// common prefix, and the first probe already cuts it to at most the length
// of one symbol.
const SimDef* SymbolIndex::longest_match(std::string_view text) const {
    if (text.empty()) return nullptr;
    // The usual token: an ASCII character and then one that is no symbol
    // character, so the run is that first character alone.
    if (byte_value(text[0]) < 0x80 &&
        (text.size() == 1 || (byte_value(text[1]) < 0x80 && !ascii_symbol_chars.contains(text[1])))) {
        const Entry* entry = ascii_symbol_chars.contains(text[0]) ? one_byte_[byte_value(text[0])] : nullptr;
        return entry != nullptr ? entry->sim : nullptr;
    }
    const std::pair<const Entry*, const Entry*> group = group_of(text);
    const Entry* const begin = group.first;
    const Entry* const end = group.second;
    // The leading run of ASCII symbol characters: every symbol of the first
    // byte's group that it begins with is a prefix of the whole run, and the
    // group is a handful of symbols. That is the answer unless the run stops
    // at a character beyond ASCII (which may be a symbol character too) and
    // a longer symbol goes on from the run into such a character.
    std::size_t ascii_run = 0;
    while (ascii_run < text.size() && ascii_symbol_chars.contains(text[ascii_run])) ++ascii_run;
    const bool ends_in_ascii = ascii_run == text.size() || byte_value(text[ascii_run]) < 0x80;
    const std::string_view ascii_part = text.substr(0, ascii_run);
    const Entry* longest = nullptr;
    bool may_go_on = false;
    for (const Entry* entry = begin; entry != end; ++entry) {
        const std::string_view symbol = entry->symbol;
        if (symbol.size() <= ascii_run) {
            if ((longest == nullptr || symbol.size() > longest->symbol.size()) &&
                common_prefix_length(symbol, ascii_part) == symbol.size()) {
                longest = entry;
            }
        } else if (!ends_in_ascii && byte_value(symbol[ascii_run]) >= 0x80 &&
                   common_prefix_length(symbol, ascii_part) == ascii_run) {
            may_go_on = true;
        }
    }
    if (ends_in_ascii || !may_go_on) return longest != nullptr ? longest->sim : nullptr;
    auto probe = [begin, end](std::string_view run) -> const Entry* {
        const Entry* above = std::upper_bound(begin, end, run, [](std::string_view value, const Entry& entry) {
            return byte_less(value, entry.symbol);
        });
        return above == begin ? nullptr : above - 1;
    };
    const Entry* first = probe(text);
    if (first == nullptr) return nullptr;
    std::size_t bound = common_prefix_length(first->symbol, text);
    // The usual answer: the largest symbol not above the text begins it, so
    // no longer symbol does, and it lies in the run when it is one itself.
    if (bound == first->symbol.size() && first->symbol_chars_only && ends_on_character(text, bound)) {
        return first->sim;
    }
    while (bound < text.size() && is_continuation_byte(text[bound])) ++bound;
    std::string_view run = text.substr(0, symbol_run_length(text.substr(0, bound)));
    while (!run.empty()) {
        const Entry* entry = probe(run);
        if (entry == nullptr) return nullptr;
        const std::size_t common = common_prefix_length(entry->symbol, run);
        const bool begins_run = common == entry->symbol.size();
        if (begins_run && ends_on_character(run, common)) return entry->sim;
        // A symbol that ends inside a character of the run is no prefix of
        // it: only shorter symbols can be.
        std::size_t cut = begins_run ? common - 1 : common;
        while (cut > 0 && !ends_on_character(run, cut)) --cut;
        run = run.substr(0, cut);
    }
    return nullptr;
}

// A group holds a handful of symbols: comparing each is quicker than a
// binary search over them.
const SymbolIndex::Entry* SymbolIndex::entry_of(std::string_view symbol) const {
    if (symbol.empty()) return nullptr;
    if (symbol.size() == 1 && byte_value(symbol[0]) < 0x80) return one_byte_[byte_value(symbol[0])];
    const auto [begin, end] = group_of(symbol);
    for (const Entry* entry = begin; entry != end; ++entry) {
        if (entry->symbol.size() == symbol.size() && common_prefix_length(entry->symbol, symbol) == symbol.size()) {
            return entry;
        }
    }
    return nullptr;
}

const SimDef* SymbolIndex::find(std::string_view symbol) const {
    const Entry* entry = entry_of(symbol);
    return entry != nullptr ? entry->sim : nullptr;
}


}  // namespace ilvex
