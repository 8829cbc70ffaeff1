#include "dendron/reference_index.hpp"

#include <algorithm>
#include <bit>
#include <functional>
#include <map>

#include "dialektos/byte_set.hpp"
#include "dialektos/lexical.hpp"

namespace ilvex {
namespace {

bool is_sigil(char c) { return c == '@' || c == '\\'; }

// The forms are read in the whole text rather than line by line: a form
// never reaches past its line, because every scan below stops at a line
// feed (and a "\r" before one is no byte a form expects next).

// The bytes of `text` from `from` up to the first `close`, provided no sigil,
// no "(" and no line feed comes first. No key holds any of them, and because
// every scan stops at the next sigil, the scans started at different sigils
// never overlap: each line is read a bounded number of times whatever it
// holds.
std::optional<std::string_view> delimited(std::string_view text, std::size_t from, char close) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == close) return text.substr(from, i - from);
        if (is_sigil(text[i]) || text[i] == '(' || text[i] == '\n') return std::nullopt;
    }
    return std::nullopt;
}

bool byte_at(std::string_view text, std::size_t i, char c) { return i < text.size() && text[i] == c; }

// S("<key>") at `sigil`: the milestone key.
std::optional<std::string_view> milestone_at(std::string_view text, std::size_t sigil) {
    if (!byte_at(text, sigil + 1, '(') || !byte_at(text, sigil + 2, '"')) return std::nullopt;
    const auto key = delimited(text, sigil + 3, '"');
    if (!key || !byte_at(text, sigil + 3 + key->size() + 1, ')')) return std::nullopt;
    return key;
}

// S(<key>) at `sigil`: the onym.
std::optional<std::string_view> onym_at(std::string_view text, std::size_t sigil) {
    if (!byte_at(text, sigil + 1, '(')) return std::nullopt;
    return delimited(text, sigil + 2, ')');
}

// S<symbol>(<target>) at `sigil`: the text "<symbol>(<target>)". A target
// begins with an alphanumeric character, which ends the run of symbol
// characters after the sigil, so that run is the symbol and its "(".
std::optional<std::string_view> deixis_at(std::string_view text, std::size_t sigil) {
    const std::size_t run_start = sigil + 1;
    // White space, line feeds included, is no symbol character.
    const std::size_t run_end = run_start + symbol_run_length(text.substr(run_start));
    if (run_end - run_start < 2 || text[run_end - 1] != '(') return std::nullopt;
    const auto target = delimited(text, run_end, ')');
    if (!target) return std::nullopt;
    return text.substr(run_start, run_end - run_start + target->size() + 1);
}

// The number of set bits, inline: std::popcount becomes a library call
// where the processor's own instruction is not assumed.
std::uint64_t ones(std::uint64_t x) {
    x -= (x >> 1) & 0x5555555555555555;
    x = (x & 0x3333333333333333) + ((x >> 2) & 0x3333333333333333);
    x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0f;
    return (x * 0x0101010101010101) >> 56;
}

// Calls `visit(at, line)` for each sigil of `text`, in order, with the
// 0-based index of the line it stands on, so that lines are numbered as
// split_standard_lines splits them without being split. The text is read 64
// bytes at a time, each block's line feeds counted at once, so that only
// the sigils stop the scan.
template <class Visit>
void each_sigil(std::string_view text, Visit visit) {
    constexpr ByteSet sigils("@\\");
    constexpr ByteSet line_feed("\n");
    std::uint64_t line = 0;
    std::size_t at = 0;
    for (; at + 64 <= text.size(); at += 64) {
        const std::uint64_t feeds = line_feed.members_in_64(text.data() + at);
        for (std::uint64_t found = sigils.members_in_64(text.data() + at); found != 0; found &= found - 1) {
            const int bit = std::countr_zero(found);
            visit(at + static_cast<std::size_t>(bit), line + ones(feeds & ((std::uint64_t{1} << bit) - 1)));
        }
        line += ones(feeds);
    }
    for (; at < text.size(); ++at) {
        if (text[at] == '\n') {
            ++line;
        } else if (is_sigil(text[at])) {
            visit(at, line);
        }
    }
}

struct PlerographicDeixis {
    std::string_view name;
    std::string_view target;
};

// S{<name>}(<target>) at `sigil`.
std::optional<PlerographicDeixis> plerographic_deixis_at(std::string_view text, std::size_t sigil) {
    if (!byte_at(text, sigil + 1, '{')) return std::nullopt;
    const auto name = delimited(text, sigil + 2, '}');
    if (!name) return std::nullopt;
    const std::size_t open = sigil + 2 + name->size() + 1;
    if (!byte_at(text, open, '(')) return std::nullopt;
    const auto target = delimited(text, open + 1, ')');
    if (!target) return std::nullopt;
    return PlerographicDeixis{*name, *target};
}

// The symbol each primary or localized name addresses, with the answers of
// `sim_by_name` (a name that designates two symbols addresses none), built in
// one pass so that every name met in the text costs one lookup.
class AddressedSymbols {
public:
    explicit AddressedSymbols(const Dialektos& dialektos) {
        for (const auto& [symbol, sim] : dialektos.sims) hit(sim.name, symbol);
        for (const auto& [lang, glossa] : dialektos.glossae) {
            for (const auto& [symbol, localized] : glossa) hit(localized, symbol);
        }
        // A glossa entry for a symbol the dialektos lacks addresses nothing.
        for (auto& [name, symbol] : symbol_by_name_) {
            if (symbol != nullptr && !dialektos.sims.contains(*symbol)) symbol = nullptr;
        }
    }

    const std::string* symbol_of(std::string_view name) const {
        const auto it = symbol_by_name_.find(name);
        return it == symbol_by_name_.end() ? nullptr : it->second;
    }

private:
    void hit(std::string_view name, const std::string& symbol) {
        const auto [it, inserted] = symbol_by_name_.try_emplace(name, &symbol);
        if (!inserted && it->second != nullptr && *it->second != symbol) it->second = nullptr;
    }

    // Null for a name that designates two symbols.
    std::map<std::string_view, const std::string*, std::less<>> symbol_by_name_;
};

}  // namespace

ReferenceIndex::ReferenceIndex(std::string_view text, const Dialektos& dialektos) {
    // Made at the first plerographic deixis: most texts hold none, and a
    // dialektos has many names.
    std::optional<AddressedSymbols> names;
    // Room for a candidate every 16 bytes of text, which the lists seldom
    // outgrow; room never written costs no memory. Beyond the cap (a text of
    // tens of MB) they grow as they come.
    constexpr std::size_t most_reserved = std::size_t{1} << 22;
    for (auto& list : candidates_) list.reserve(std::min(text.size() / 16, most_reserved));
    std::array<PresentAhead, 3> present;
    auto add = [&](ReferenceKind kind, std::string_view key, std::uint64_t line) {
        auto& list = candidates_[static_cast<std::size_t>(kind)];
        list.push_back({std::hash<std::string_view>{}(key), key, line});
        present[static_cast<std::size_t>(kind)].reach(list.data(), list.size() * sizeof(Candidate),
                                                      list.capacity() * sizeof(Candidate));
    };
    each_sigil(text, [&](std::size_t at, std::uint64_t line) {
        if (const auto key = milestone_at(text, at)) add(ReferenceKind::Milestone, *key, line);
        if (const auto key = onym_at(text, at)) add(ReferenceKind::Onym, *key, line);
        if (const auto key = deixis_at(text, at)) add(ReferenceKind::Deixis, *key, line);
        if (const auto deixis = plerographic_deixis_at(text, at)) {
            if (!names) names.emplace(dialektos);
            if (const std::string* symbol = names->symbol_of(deixis->name)) {
                spelled_keys_.push_back(*symbol + "(" + std::string(deixis->target) + ")");
                add(ReferenceKind::Deixis, spelled_keys_.back(), line);
            }
        }
    });
    for (auto& list : candidates_) std::sort(list.begin(), list.end());
}

std::optional<std::uint64_t> ReferenceIndex::first_line(ReferenceKind kind, std::string_view key,
                                                        std::uint64_t from) const {
    const auto& list = candidates_[static_cast<std::size_t>(kind)];
    const auto found = std::lower_bound(list.begin(), list.end(),
                                        Candidate{std::hash<std::string_view>{}(key), key, from});
    if (found == list.end() || found->key != key) return std::nullopt;
    return found->line;
}

}  // namespace ilvex
