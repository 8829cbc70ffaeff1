#include "dialektos/sim_lookup.hpp"

#include <algorithm>

#include "dialektos/lexical.hpp"

namespace ilvex {
namespace {

std::size_t common_prefix_length(std::string_view a, std::string_view b) {
    const auto limit = std::min(a.size(), b.size());
    std::size_t i = 0;
    while (i < limit && a[i] == b[i]) ++i;
    return i;
}

bool is_continuation_byte(char b) { return (static_cast<unsigned char>(b) & 0xC0) == 0x80; }

}  // namespace

// The largest key not above a text is either the text's longest key prefix,
// or it shares a common prefix with the text that bounds every key prefix:
// a longer key prefix would sort between that key and the text. So each
// probe either answers or shortens the text to that common prefix, and the
// first probe already cuts it to at most the length of one key.
const SimDef* longest_symbol_match(const Dialektos& dialektos, std::string_view text) {
    const auto& sims = dialektos.sims;
    auto probe = [&](std::string_view run) { 
        auto it = sims.upper_bound(run);
        return it == sims.begin() ? sims.end() : std::prev(it);
    };
    auto first = probe(text);
    if (first == sims.end()) return nullptr;
    std::size_t bound = common_prefix_length(first->first, text);
    while (bound < text.size() && is_continuation_byte(text[bound])) ++bound;
    std::string_view run = text.substr(0, symbol_run_length(text.substr(0, bound)));
    while (!run.empty()) {
        auto it = probe(run);
        if (it == sims.end()) return nullptr;
        const std::string_view key = it->first;
        if (run.starts_with(key)) return &it->second;
        run = run.substr(0, common_prefix_length(key, run));
    }
    return nullptr;
}

NameLookup sim_by_name(const Dialektos& dialektos, std::string_view name) {
    const std::string* candidate = nullptr;
    auto hit = [&](const std::string& symbol) {
        if (candidate == nullptr) candidate = &symbol;
        return *candidate == symbol;
    };
    for (const auto& [symbol, sim] : dialektos.sims) {
        if (sim.name == name && !hit(symbol)) return {NameLookup::Outcome::Ambiguous, nullptr};
    }
    for (const auto& [lang, glossa] : dialektos.glossae) {
        for (const auto& [symbol, localized] : glossa) {
            if (localized == name && !hit(symbol)) return {NameLookup::Outcome::Ambiguous, nullptr};
        }
    }
    if (candidate == nullptr) return {};
    const auto found = dialektos.sims.find(*candidate);
    if (found == dialektos.sims.end()) return {};
    return {NameLookup::Outcome::Found, &found->second};
}

}  // namespace ilvex
