// What the parser hands the outline of each Para, Stichoi, Diaphane and
// Englossis block it finishes: the outline's own entry for the block, so that
// the parse fills it once and the outline only orders what it is given.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dendron/own_pages.hpp"
#include "dendron/recent_entries.hpp"

namespace ilvex {

struct OutlineBlock {
    std::string_view kind;              // "para", "stichoi", "diaphane" or "englossis"
    std::optional<std::string> symbol;  // an Englossis: its embedded dialektos id
    // The sim's name in the dialektos the block was parsed with (an Englossis
    // body uses its embedded dialektos); absent where `symbol` names no sim.
    std::optional<std::string> name;
    std::uint64_t depth = 0;
    std::uint64_t start = 0;  // 1-based line of the opener
    std::uint64_t end = 0;    // 1-based line of the closer
    std::string lemma;
    std::optional<std::string> onym;
    std::vector<std::string> genoses;

    bool operator==(const OutlineBlock&) const = default;
};

using OutlineRecord = OutlineBlock;

// The kinds of outlined blocks, in the order of `outline_kind_names`.
enum class OutlineKind : std::uint8_t { Para, Stichoi, Diaphane, Englossis };
inline constexpr std::string_view outline_kind_names[] = {"para", "stichoi", "diaphane", "englossis"};

// The records of one parse, one per finished block, in finishing order until
// the outline sorts them. A document of many small blocks has one record
// for every few dozen bytes of text, so they are kept packed: the numbers of
// each block in a small fixed record, its texts one after another in one
// buffer, and each symbol and name, which repeat from block to block, once
// in a table that the records index.
class OutlineRecords {
public:
    // One block's record as stored; texts are read through the accessors.
    struct Packed {
        std::uint64_t start = 0;
        std::uint64_t end = 0;
        std::uint64_t text = 0;   // offset of the lemma in the text buffer
        std::uint64_t lemma_size = 0;
        std::uint64_t onym_size = 0;
        std::uint32_t symbol = 0;  // 1-based index into the table; 0: absent
        std::uint32_t name = 0;
        std::uint32_t genos_count = 0;
        std::uint16_t depth = 0;
        OutlineKind kind = OutlineKind::Para;
        bool has_onym = false;
    };

    OutlineRecords() = default;
    OutlineRecords(std::initializer_list<OutlineBlock> blocks);

    // Makes room for the records of a text of `text_size` bytes: as many as
    // a text of small blocks holds. Room never written costs no memory,
    // while growing would copy everything added so far.
    void reserve_for_text(std::size_t text_size);

    // Appends a record. `symbol` and `name` stand in the table once (a name
    // only for a Para or Stichoi with a symbol: no other block names a sim);
    // the lemma, onym and genoses are copied into the text buffer. Depths are
    // bounded by the nesting limit of the parse.
    void add(OutlineKind kind, const std::string* symbol, const std::string* name, std::uint64_t depth,
             std::uint64_t start, std::uint64_t end, std::string_view lemma, const std::optional<std::string>& onym,
             const std::vector<std::string>& genoses);
    void push_back(const OutlineBlock& block);

    std::size_t size() const { return packed_.size(); }
    bool empty() const { return packed_.empty(); }
    const Packed& packed(std::size_t i) const { return packed_[i]; }
    // The block at `i`, with its own copies of the texts.
    OutlineBlock operator[](std::size_t i) const;
    OutlineBlock front() const { return (*this)[0]; }
    OutlineBlock back() const { return (*this)[size() - 1]; }

    // The distinct symbols and names, indexed by Packed::symbol and
    // Packed::name minus one.
    const std::vector<std::string>& table() const { return table_; }
    std::string_view lemma(const Packed& record) const;
    std::optional<std::string_view> onym(const Packed& record) const;
    // Calls `visit` with each genos of `record`, in order.
    template <class Visit>
    bool each_genos(const Packed& record, Visit visit) const;

    // Orders the records by start line, then longest first, keeping the
    // order they were added in on ties.
    void sort_by_lines();

    // Tells that the records before `index` will not be read again, so that
    // the memory of a large outline shrinks while it is turned into another
    // form. Reading one of them afterwards is a fault.
    void forget_before(std::size_t index);

    bool operator==(const OutlineRecords& other) const;

private:
    std::uint32_t table_index(const std::string* text);

    std::vector<Packed, OwnPagesAllocator<Packed>> packed_;
    PresentAhead packed_present_;
    // Per record: lemma, onym, then each genos after its size (7 bits a
    // byte, low bits first, the high bit set on every byte but the last).
    std::string texts_;
    std::vector<std::string> table_;
    std::unordered_map<std::string, std::uint32_t> table_index_;
    // The index of a text lately looked up in its slot (see RecentEntries):
    // blocks repeat a handful of symbols and names, each found there by one
    // compare instead of a hash of the whole text.
    std::array<std::uint32_t, writing::recent_slots> recent_{};
};

template <class Visit>
bool OutlineRecords::each_genos(const Packed& record, Visit visit) const {
    std::size_t at = record.text + record.lemma_size + record.onym_size;
    for (std::uint32_t i = 0; i < record.genos_count; ++i) {
        std::uint64_t size = 0;
        for (unsigned shift = 0;; shift += 7) {
            const auto byte = static_cast<unsigned char>(texts_[at++]);
            size |= static_cast<std::uint64_t>(byte & 0x7f) << shift;
            if ((byte & 0x80) == 0) break;
        }
        if (!visit(std::string_view(texts_).substr(at, size))) return false;
        at += size;
    }
    return true;
}

}  // namespace ilvex
