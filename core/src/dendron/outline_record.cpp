#include "dendron/outline_record.hpp"

#include <algorithm>

namespace ilvex {
namespace {

OutlineKind kind_named(std::string_view name) {
    for (std::size_t i = 0; i < std::size(outline_kind_names); ++i) {
        if (outline_kind_names[i] == name) return static_cast<OutlineKind>(i);
    }
    return OutlineKind::Para;
}

}  // namespace

OutlineRecords::OutlineRecords(std::initializer_list<OutlineBlock> blocks) {
    for (const OutlineBlock& block : blocks) push_back(block);
}

void OutlineRecords::reserve_for_text(std::size_t text_size) {
    // A block takes a few lines of at least a few bytes each; lemmas, onyms
    // and genoses are a part of the text. Beyond the caps (a text of a few
    // hundred MB) the room is only an address range too large to ask for
    // unused, and the records grow as they come.
    constexpr std::size_t most_records = std::size_t{1} << 22;
    constexpr std::size_t most_text = std::size_t{1} << 26;
    packed_.reserve(std::min(text_size / 32, most_records));
    texts_.reserve(std::min(text_size / 4, most_text));
}

std::uint32_t OutlineRecords::table_index(const std::string* text) {
    if (text == nullptr) return 0;
    std::uint32_t& recent = recent_[writing::recent_slot(*text)];
    if (recent != 0 && table_[recent - 1] == *text) return recent;
    const auto [found, added] = table_index_.try_emplace(*text, static_cast<std::uint32_t>(table_.size() + 1));
    if (added) table_.push_back(*text);
    recent = found->second;
    return recent;
}

void OutlineRecords::add(OutlineKind kind, const std::string* symbol, const std::string* name,
                         std::uint64_t depth, std::uint64_t start, std::uint64_t end, std::string_view lemma,
                         const std::optional<std::string>& onym, const std::vector<std::string>& genoses) {
    Packed& record = packed_.emplace_back();
    packed_present_.reach(packed_.data(), packed_.size() * sizeof(Packed), packed_.capacity() * sizeof(Packed));
    record.start = start;
    record.end = end;
    record.text = texts_.size();
    record.lemma_size = lemma.size();
    record.onym_size = onym ? onym->size() : 0;
    record.symbol = table_index(symbol);
    // Only a Para or Stichoi with a symbol names a sim.
    const bool named = symbol != nullptr && (kind == OutlineKind::Para || kind == OutlineKind::Stichoi);
    record.name = named ? table_index(name) : 0;
    record.genos_count = static_cast<std::uint32_t>(genoses.size());
    record.depth = static_cast<std::uint16_t>(depth);
    record.kind = kind;
    record.has_onym = onym.has_value();
    texts_ += lemma;
    if (onym) texts_ += *onym;
    for (const std::string& genos : genoses) {
        std::uint64_t size = genos.size();
        for (; size >= 0x80; size >>= 7) texts_.push_back(static_cast<char>((size & 0x7f) | 0x80));
        texts_.push_back(static_cast<char>(size));
        texts_ += genos;
    }
}

void OutlineRecords::push_back(const OutlineBlock& block) {
    add(kind_named(block.kind), block.symbol ? &*block.symbol : nullptr, block.name ? &*block.name : nullptr,
        block.depth, block.start, block.end, block.lemma, block.onym, block.genoses);
}

std::string_view OutlineRecords::lemma(const Packed& record) const {
    return std::string_view(texts_).substr(record.text, record.lemma_size);
}

std::optional<std::string_view> OutlineRecords::onym(const Packed& record) const {
    if (!record.has_onym) return std::nullopt;
    return std::string_view(texts_).substr(record.text + record.lemma_size, record.onym_size);
}

OutlineBlock OutlineRecords::operator[](std::size_t i) const {
    const Packed& record = packed_[i];
    OutlineBlock block;
    block.kind = outline_kind_names[static_cast<std::size_t>(record.kind)];
    if (record.symbol != 0) block.symbol = table_[record.symbol - 1];
    if (record.name != 0) block.name = table_[record.name - 1];
    block.depth = record.depth;
    block.start = record.start;
    block.end = record.end;
    block.lemma = lemma(record);
    if (const auto text = onym(record)) block.onym = std::string(*text);
    each_genos(record, [&](std::string_view genos) {
        block.genoses.emplace_back(genos);
        return true;
    });
    return block;
}

namespace {

bool sorts_before(const OutlineRecords::Packed& a, const OutlineRecords::Packed& b) {
    return a.start != b.start ? a.start < b.start : a.end > b.end;
}

// A stable merge sort, bottom up, whose buffer has pages of its own when it
// is large: the standard library's takes its buffer from the heap, where the
// pages would stay while the outline is turned into another form.
template <class Records>
void merge_sort(Records& records) {
    using Packed = OutlineRecords::Packed;
    using Allocator = OwnPagesAllocator<Packed>;
    const std::size_t count = records.size();
    struct Buffer {
        std::size_t count;
        Packed* data = Allocator().allocate(count);
        ~Buffer() { Allocator().deallocate(data, count); }
    } buffer{count};
    Packed* from = records.data();
    Packed* to = buffer.data;
    for (std::size_t width = 1; width < count; width *= 2) {
        for (std::size_t i = 0; i < count; i += 2 * width) {
            const std::size_t middle = std::min(i + width, count);
            const std::size_t end = std::min(i + 2 * width, count);
            std::merge(from + i, from + middle, from + middle, from + end, to + i, sorts_before);
        }
        std::swap(from, to);
    }
    if (from != records.data()) std::copy(from, from + count, records.data());
}

}  // namespace

void OutlineRecords::sort_by_lines() {
    // In the parse's finishing order a block comes right after the blocks
    // inside it, and sorts back past those only: inserting each record into
    // the sorted ones before it moves every record once per block around
    // it, a few times in most documents. Records in another order fall back
    // to a merge sort once the moves grow past that. Either way the sort is
    // stable: a record is inserted after those equal to it.
    std::size_t moves_left = 8 * packed_.size() + 4096;
    for (std::size_t j = 1; j < packed_.size(); ++j) {
        if (!sorts_before(packed_[j], packed_[j - 1])) continue;
        const auto end = packed_.begin() + static_cast<std::ptrdiff_t>(j);
        const Packed held = packed_[j];
        const auto at = std::upper_bound(packed_.begin(), end, held, sorts_before);
        const auto passed = static_cast<std::size_t>(end - at);
        if (passed > moves_left) {
            merge_sort(packed_);
            return;
        }
        moves_left -= passed;
        std::move_backward(at, end, end + 1);
        *at = held;
    }
}

void OutlineRecords::forget_before(std::size_t index) {
    release_own_pages(packed_.data(), std::min(index, packed_.size()) * sizeof(Packed),
                      packed_.capacity() * sizeof(Packed));
}

bool OutlineRecords::operator==(const OutlineRecords& other) const {
    if (size() != other.size()) return false;
    for (std::size_t i = 0; i < size(); ++i) {
        if ((*this)[i] != other[i]) return false;
    }
    return true;
}

}  // namespace ilvex
