#include "dendron/reference_index.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <functional>
#include <map>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// The end of the run of symbol characters from `from`. Most runs after a
// sigil are a byte or two of ASCII punctuation, tested here inline; the run
// goes on out of line only at a byte beyond ASCII.
std::size_t symbol_run_end(std::string_view text, std::size_t from) {
    std::size_t i = from;
    while (i < text.size() && ascii_symbol_chars.contains(text[i])) ++i;
    if (i < text.size() && static_cast<unsigned char>(text[i]) >= 0x80) i += symbol_run_length(text.substr(i));
    return i;
}

// What a byte can be in the two bytes after a sigil, which every form has:
// the "(" of a milestone or an onym, the "{" of a plerographic deixis, or a
// byte of a deixis's run of symbol characters (an ASCII symbol character, or
// any byte beyond ASCII), of which a deixis has at least two there.
enum ByteRole : std::uint8_t { opens_key = 1, opens_name = 2, in_symbol = 4 };

constexpr std::array<std::uint8_t, 256> byte_roles = [] {
    std::array<std::uint8_t, 256> roles{};
    for (std::size_t b = 0; b < roles.size(); ++b) {
        if (b >= 0x80 || ascii_symbol_chars.contains(static_cast<char>(b))) roles[b] |= in_symbol;
    }
    roles['('] |= opens_key;
    roles['{'] |= opens_name;
    return roles;
}();

std::uint8_t role_at(std::string_view text, std::size_t at) {
    return byte_roles[static_cast<unsigned char>(text[at])];
}

// Whether a form can begin at `sigil`, from the two bytes after it, in one
// test: most sigils begin none, in no pattern a branch could learn.
bool may_begin_form(std::string_view text, std::size_t sigil) {
    if (sigil + 2 >= text.size()) return false;
    const std::uint8_t next = role_at(text, sigil + 1);
    return ((next & (opens_key | opens_name)) | (next & role_at(text, sigil + 2) & in_symbol)) != 0;
}

// Whether the two bytes after `sigil` (which may_begin_form found there) can
// begin a deixis's symbol.
bool may_begin_symbol(std::string_view text, std::size_t sigil) {
    return (role_at(text, sigil + 1) & role_at(text, sigil + 2) & in_symbol) != 0;
}

// S<symbol>(<target>) at `sigil`: the text "<symbol>(<target>)". A target
// begins with an alphanumeric character, which ends the run of symbol
// characters after the sigil, so that run is the symbol and its "(".
// Inline, as the scan asks for one sigil in five.
[[gnu::always_inline]] inline std::optional<std::string_view> deixis_at(std::string_view text, std::size_t sigil) {
    const std::size_t run_start = sigil + 1;
    // White space, line feeds included, is no symbol character.
    const std::size_t run_end = symbol_run_end(text, run_start);
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

constexpr ByteSet line_feed("\n");

// Counts the line feeds of the blocks of 64 bytes it is given. Each block
// adds one to a byte counter for each line feed, in four instructions, and
// the counters are summed only when asked, which the reference scan does
// only at the few sigils that begin a form, or before any can overflow.
class LineFeedCount {
public:
    void add(const char* block) {
#ifdef __SSE2__
        const __m128i feed = _mm_set1_epi8('\n');
        // A copy, which the block's bytes cannot alias, so that it stays in
        // a register.
        __m128i counters = counters_;
        for (std::size_t k = 0; k < 4; ++k) {
            const __m128i part = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * k));
            counters = _mm_sub_epi8(counters, _mm_cmpeq_epi8(part, feed));
        }
        counters_ = counters;
        // Each block adds at most 4 to a counter.
        if (++blocks_ == 255 / 4) {
            summed_ = total();
            counters_ = _mm_setzero_si128();
            blocks_ = 0;
        }
#else
        summed_ += ones(line_feed.members_in_64(block));
#endif
    }

    std::uint64_t total() const {
#ifdef __SSE2__
        const __m128i sums = _mm_sad_epu8(counters_, _mm_setzero_si128());
        return summed_ + static_cast<std::uint64_t>(_mm_cvtsi128_si64(sums)) +
               static_cast<std::uint64_t>(_mm_extract_epi16(sums, 4));
#else
        return summed_;
#endif
    }

private:
#ifdef __SSE2__
    __m128i counters_ = _mm_setzero_si128();
    int blocks_ = 0;  // added to the counters since they were summed
#endif
    std::uint64_t summed_ = 0;
};

// Calls `visit(at, line_of)` for each sigil of `text`, in order, where
// `line_of()` gives the 0-based index of the line the sigil stands on, so
// that lines are numbered as split_standard_lines splits them without being
// split. The text is read 64 bytes at a time, so that only the sigils stop
// the scan; a sigil's line is counted only when asked for, as few sigils
// begin a form.
template <class Visit>
void each_sigil(std::string_view text, Visit visit) {
    constexpr ByteSet sigils("@\\");
    LineFeedCount feeds;  // before the block at `at`
    std::size_t at = 0;
    for (; at + 64 <= text.size(); at += 64) {
        const char* block = text.data() + at;
        std::uint64_t found = sigils.members_in_64(block);
        if (found != 0) {
            // Taken apart from the count, which then need not stay in memory
            // while the sigils are visited.
            const std::uint64_t line = feeds.total();
            for (; found != 0; found &= found - 1) {
                const int bit = std::countr_zero(found);
                visit(at + static_cast<std::size_t>(bit), [line, block, bit] {
                    return line + ones(line_feed.members_in_64(block) & ((std::uint64_t{1} << bit) - 1));
                });
            }
        }
        feeds.add(block);
    }
    std::uint64_t line = feeds.total();
    for (; at < text.size(); ++at) {
        if (text[at] == '\n') {
            ++line;
        } else if (is_sigil(text[at])) {
            visit(at, [&] { return line; });
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

// The `Word` at `at`, of any alignment.
template <class Word>
std::uint64_t load(const char* at) {
    Word word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// The key's tag: a hash of its bytes with the kind in the two low bits. The
// bytes are read a word at a time (the last word overlapping the one before
// where the key is no whole number of words), each word mixed in by a
// multiplication: keys are short, and this costs a few instructions a key.
std::uint64_t key_tag(ReferenceKind kind, std::string_view key) {
    constexpr std::uint64_t odd = 0x9E3779B97F4A7C15;
    const char* bytes = key.data();
    const std::size_t size = key.size();
    std::uint64_t hash = size * odd;
    const auto mix = [&hash](std::uint64_t word) {
        hash = (hash ^ word) * odd;
        hash ^= hash >> 32;
    };
    if (size >= 8) {
        for (std::size_t i = 0; i + 8 < size; i += 8) mix(load<std::uint64_t>(bytes + i));
        mix(load<std::uint64_t>(bytes + size - 8));
    } else if (size >= 4) {
        mix(load<std::uint32_t>(bytes) | load<std::uint32_t>(bytes + size - 4) << 32);
    } else if (size > 0) {
        mix(load<std::uint8_t>(bytes) | load<std::uint8_t>(bytes + size / 2) << 8 |
            load<std::uint8_t>(bytes + size - 1) << 16);
    }
    hash = (hash ^ (hash >> 29)) * odd;
    hash ^= hash >> 32;
    return (hash & ~std::uint64_t{3}) | static_cast<std::uint64_t>(kind);
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

// Makes the pages for the first `count` items of a buffer present in a
// few calls, where filling them would fault them in one at a time; nothing
// where the buffer must move to hold them.
template <class T>
void make_present(const std::vector<T, OwnPagesAllocator<T>>& buffer, std::size_t count) {
    if (count > buffer.capacity()) return;
    const std::size_t size = buffer.capacity() * sizeof(T);
    for (std::size_t from = 0; from < count * sizeof(T);) from = make_own_pages_present(buffer.data(), from, size);
}

}  // namespace

ReferenceIndex::ReferenceIndex(std::string_view text, const Dialektos& dialektos) {
    // Made at the first plerographic deixis: most texts hold none, and a
    // dialektos has many names.
    std::optional<AddressedSymbols> names;
    // Each form found, in document order, with the number of its key.
    struct Candidate {
        std::size_t key;
        std::uint64_t line;
    };
    Buffer<Candidate> candidates;
    // Room for a candidate every 16 bytes of text, which the list seldom
    // outgrows; room never written costs no memory. Beyond the cap (a text of
    // tens of MB) it grows as they come.
    constexpr std::size_t most_reserved = std::size_t{1} << 22;
    candidates.reserve(std::min(text.size() / 16, most_reserved));
    // The index's own buffers get the same room, so that they seldom move
    // while filled, and large ones have pages of their own, which go back to
    // the system when the index is freed instead of staying with the heap.
    keys_.reserve(candidates.capacity());
    slots_.reserve(std::bit_ceil(2 * candidates.capacity()));
    lines_.reserve(candidates.capacity());
    PresentAhead present;
    PresentAhead keys_present;
    auto add = [&](ReferenceKind kind, std::string_view key, std::uint64_t line) {
        const std::size_t number = file(key_tag(kind, key), key);
        keys_present.reach(keys_.data(), keys_.size() * sizeof(Key), keys_.capacity() * sizeof(Key));
        ++keys_[number].end;  // counts the key's lines until they are placed
        candidates.push_back({number, line});
        present.reach(candidates.data(), candidates.size() * sizeof(Candidate),
                      candidates.capacity() * sizeof(Candidate));
    };
    // Inline, in the scan's loop: a closure handed to a call goes through
    // memory at every sigil.
    each_sigil(text, [&, text](std::size_t at, auto line_of) __attribute__((always_inline)) {
        // Most sigils begin no form, and the two bytes after one tell most
        // of those at once: an opener such as "@*" is followed by text, a
        // closer by a space or a line feed.
        if (!may_begin_form(text, at)) return;
        const char next = text[at + 1];
        if (next == '(') {
            if (const auto key = milestone_at(text, at)) add(ReferenceKind::Milestone, *key, line_of());
            if (const auto key = onym_at(text, at)) add(ReferenceKind::Onym, *key, line_of());
        }
        if (may_begin_symbol(text, at)) {
            if (const auto key = deixis_at(text, at)) add(ReferenceKind::Deixis, *key, line_of());
        }
        if (next == '{') {
            if (const auto deixis = plerographic_deixis_at(text, at)) {
                if (!names) names.emplace(dialektos);
                if (const std::string* symbol = names->symbol_of(deixis->name)) {
                    spelled_keys_.push_back(*symbol + "(" + std::string(deixis->target) + ")");
                    add(ReferenceKind::Deixis, spelled_keys_.back(), line_of());
                }
            }
        }
    });
    // Each key's lines go to their place after the keys before it; the
    // candidates come in document order, so each key's lines do too.
    std::size_t begin = 0;
    for (Key& key : keys_) begin += std::exchange(key.end, begin);
    make_present(lines_, candidates.size());
    lines_.resize(candidates.size());
    for (const Candidate& candidate : candidates) lines_[keys_[candidate.key].end++] = candidate.line;
}

std::size_t ReferenceIndex::slot_of(std::uint64_t tag, std::string_view text) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = (tag >> 2) & mask;; slot = (slot + 1) & mask) {
        const std::size_t held = slots_[slot];
        if (held == 0) return slot;
        const Key& key = keys_[held - 1];
        if (key.tag == tag && key.text == text) return slot;
    }
}

std::size_t ReferenceIndex::file(std::uint64_t tag, std::string_view text) {
    constexpr std::size_t first_slots = 64;
    if (slots_.empty()) slots_.assign(first_slots, 0);
    const std::size_t slot = slot_of(tag, text);
    if (slots_[slot] != 0) return slots_[slot] - 1;
    keys_.push_back({text, tag, 0});
    slots_[slot] = keys_.size();
    if (2 * keys_.size() > slots_.size()) double_slots();
    return keys_.size() - 1;
}

// The keys are filed anew from keys_, in the same buffer while its room
// lasts.
void ReferenceIndex::double_slots() {
    make_present(slots_, 2 * slots_.size());
    slots_.assign(2 * slots_.size(), 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t number = 0; number < keys_.size(); ++number) {
        std::size_t slot = (keys_[number].tag >> 2) & mask;
        while (slots_[slot] != 0) slot = (slot + 1) & mask;
        slots_[slot] = number + 1;
    }
}

std::optional<std::uint64_t> ReferenceIndex::first_line(ReferenceKind kind, std::string_view key,
                                                        std::uint64_t from) const {
    if (slots_.empty()) return std::nullopt;
    const std::size_t held = slots_[slot_of(key_tag(kind, key), key)];
    if (held == 0) return std::nullopt;
    const std::size_t number = held - 1;
    const auto begin = lines_.begin() + static_cast<std::ptrdiff_t>(number == 0 ? 0 : keys_[number - 1].end);
    const auto end = lines_.begin() + static_cast<std::ptrdiff_t>(keys_[number].end);
    const auto found = std::lower_bound(begin, end, from);
    if (found == end) return std::nullopt;
    return *found;
}

}  // namespace ilvex
