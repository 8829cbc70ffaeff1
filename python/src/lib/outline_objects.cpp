#include "outline_objects.hpp"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "large_arenas.hpp"

namespace ilvex::py {
namespace {

// Owns a new reference until it is released into a container.
class Owned {
public:
    explicit Owned(PyObject* object) : object_(object) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { Py_XDECREF(object_); }

    explicit operator bool() const { return object_ != nullptr; }
    PyObject* get() const { return object_; }
    PyObject* release() {
        PyObject* object = object_;
        object_ = nullptr;
        return object;
    }

private:
    PyObject* object_;
};

PyObject* str_of(std::string_view text) {
    return PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
}

// The keys of the outline's dicts, interned so that every dict shares them
// and looks them up by identity.
enum Key : std::size_t { Dialektos, Blocks, Milestones, Onyms, Deixes, Kind, Symbol, Name, Depth, Start, End,
                         Lemma, Onym, Genoses, EntryKey, Line, KeyCount };
constexpr std::array<const char*, KeyCount> key_texts = {
    "dialektos", "blocks", "milestones", "onyms", "deixes", "kind", "symbol", "name", "depth", "start", "end",
    "lemma", "onym", "genoses", "key", "line"};
constexpr Key first_block_key = Kind;
constexpr Key last_block_key = Genoses;

using Keys = std::array<PyObject*, KeyCount>;

// The keys, made at the first conversion and kept for the life of the
// process (interned strings live as long in any case), so that a call on a
// small document does not spend most of its time interning them again. The
// interpreter lock is held throughout, but interning may run other threads
// meanwhile: a conversion that finds the keys made by another in the
// meantime drops its own.
const Keys* interned_keys() {
    static Keys kept{};
    static bool made = false;
    if (made) return &kept;
    Keys fresh{};
    for (std::size_t i = 0; i < KeyCount; ++i) {
        fresh[i] = PyUnicode_InternFromString(key_texts[i]);
        if (fresh[i] == nullptr) {
            for (PyObject* key : fresh) Py_XDECREF(key);
            return nullptr;
        }
    }
    if (made) {
        for (PyObject* key : fresh) Py_DECREF(key);
    } else {
        kept = fresh;
        made = true;
    }
    return &kept;
}

// Sets dict[key] = value, taking over the new reference `value`.
bool set_item(PyObject* dict, PyObject* key, PyObject* value) {
    Owned owned(value);
    return owned && PyDict_SetItem(dict, key, owned.get()) == 0;
}

// A dict with `keys` in order, each set to None: copying it makes a dict
// of its final size in one step, without growing it key by key.
PyObject* template_of(const Keys& keys, Key first, Key last) {
    Owned dict(PyDict_New());
    if (!dict) return nullptr;
    for (std::size_t key = first; key <= last; ++key) {
        if (PyDict_SetItem(dict.get(), keys[key], Py_None) != 0) return nullptr;
    }
    return dict.release();
}

// What one conversion shares: the keys and the dict templates, and one
// `str` for each text that repeats across blocks (kinds, symbols, names,
// genoses), so that an outline of many blocks holds one object per
// distinct value rather than one per block. The texts are views into the
// outline, which outlives the conversion.
//
// A block's dict is copied from a template that already holds the values
// its block shares with others of the same kind, sim and depth (and an
// empty lemma, and no onym, as most blocks have): each value set
// afterwards costs a lookup in the dict, which was most of the building.
class Shared {
public:
    explicit Shared(const OutlineRecords& records) : records_(records), table_(records.table().size(), nullptr) {}
    ~Shared() {
        for (PyObject* object : kinds_) Py_XDECREF(object);
        for (PyObject* object : table_) Py_XDECREF(object);
        for (auto& [text, object] : genoses_) Py_DECREF(object);
        for (auto& [values, object] : block_templates_) Py_DECREF(object);
        Py_XDECREF(block_template_);
    }
    Shared(const Shared&) = delete;
    Shared& operator=(const Shared&) = delete;

    bool make() {
        keys_ = interned_keys();
        if (keys_ == nullptr) return false;
        for (std::size_t i = 0; i < kinds_.size(); ++i) {
            kinds_[i] = str_of(outline_kind_names[i]);
            if (kinds_[i] == nullptr) return false;
        }
        block_template_ = template_of(*keys_, first_block_key, last_block_key);
        return block_template_ != nullptr;
    }

    PyObject* key(Key key) const { return (*keys_)[key]; }
    // A new dict with the block's keys, holding the kind, symbol, name and
    // depth of `record`, an empty lemma, and None for the rest.
    PyObject* block_dict(const OutlineRecords::Packed& record) {
        const SharedValues values{record.symbol, record.name, record.depth, record.kind};
        const auto found = block_templates_.find(values);
        if (found != block_templates_.end()) return PyDict_Copy(found->second);
        Owned made(block_template_of(values));
        if (!made) return nullptr;
        block_templates_.emplace(values, Py_NewRef(made.get()));
        return PyDict_Copy(made.get());
    }

    // A new reference to the one `str` of a symbol or name of the records'
    // table (0: None).
    PyObject* table_str(std::uint32_t index) {
        if (index == 0) Py_RETURN_NONE;
        PyObject*& made = table_[index - 1];
        if (made == nullptr) made = str_of(records_.table()[index - 1]);
        return Py_XNewRef(made);
    }

    // A new reference to the one `str` of `genos`.
    PyObject* genos(std::string_view text) {
        const auto found = genoses_.find(text);
        if (found != genoses_.end()) return Py_NewRef(found->second);
        PyObject* made = str_of(text);
        if (made == nullptr) return nullptr;
        genoses_.emplace(text, made);
        return Py_NewRef(made);
    }

private:
    // What the blocks of one template share.
    struct SharedValues {
        std::uint32_t symbol;
        std::uint32_t name;
        std::uint16_t depth;
        OutlineKind kind;

        bool operator==(const SharedValues&) const = default;
    };
    struct SharedValuesHash {
        std::size_t operator()(const SharedValues& values) const {
            const std::uint64_t sim = (std::uint64_t{values.symbol} << 32) | values.name;
            const std::uint64_t place = (std::uint64_t{values.depth} << 8) | static_cast<std::uint64_t>(values.kind);
            return std::hash<std::uint64_t>{}(sim * 0x9e3779b97f4a7c15 ^ place);
        }
    };

    PyObject* block_template_of(const SharedValues& values) {
        Owned dict(PyDict_Copy(block_template_));
        if (!dict) return nullptr;
        PyObject* d = dict.get();
        const bool ok = set_item(d, key(Kind), Py_NewRef(kinds_[static_cast<std::size_t>(values.kind)])) &&
                        set_item(d, key(Symbol), table_str(values.symbol)) &&
                        set_item(d, key(Name), table_str(values.name)) &&
                        set_item(d, key(Depth), PyLong_FromUnsignedLong(values.depth)) &&
                        set_item(d, key(Lemma), PyUnicode_New(0, 0));
        return ok ? dict.release() : nullptr;
    }

    const OutlineRecords& records_;
    const Keys* keys_ = nullptr;  // borrowed from interned_keys()
    std::array<PyObject*, std::size(outline_kind_names)> kinds_{};
    std::vector<PyObject*> table_;
    std::unordered_map<std::string_view, PyObject*> genoses_;
    PyObject* block_template_ = nullptr;  // every block key, all None
    std::unordered_map<SharedValues, PyObject*, SharedValuesHash> block_templates_;
};

// The containers of the result are kept out of the cyclic collector while
// they are built: none can be garbage before the result is returned, and a
// collection started by the allocations of the build would otherwise walk
// everything built so far. Once built, each is handed back to the collector
// where the interpreter itself would have it: every list, and every dict
// that holds one; a dict of only strings and ints (an entry) is left
// untracked, as the interpreter leaves it.
PyObject* untracked(PyObject* container) {
    if (container != nullptr && PyObject_GC_IsTracked(container)) PyObject_GC_UnTrack(container);
    return container;
}

void track(PyObject* container) {
    if (!PyObject_GC_IsTracked(container)) PyObject_GC_Track(container);
}

PyObject* genoses_to_py(const OutlineRecords& records, const OutlineRecords::Packed& record, Shared& shared) {
    Owned list(untracked(PyList_New(static_cast<Py_ssize_t>(record.genos_count))));
    if (!list) return nullptr;
    Py_ssize_t i = 0;
    const bool ok = records.each_genos(record, [&](std::string_view genos) {
        PyObject* made = shared.genos(genos);
        if (made == nullptr) return false;
        PyList_SET_ITEM(list.get(), i++, made);
        return true;
    });
    return ok ? list.release() : nullptr;
}

// The entry {"key": key, "line": line}, taking over both new references.
PyObject* entry_of(PyObject* key, PyObject* line, const Shared& shared) {
    Owned owned_key(key);
    Owned owned_line(line);
    if (!owned_key || !owned_line) return nullptr;
    // Two keys fit a new dict's first table, which its first key makes
    // without a lookup: cheaper than copying a template.
    Owned dict(PyDict_New());
    if (!dict) return nullptr;
    const bool ok = set_item(dict.get(), shared.key(EntryKey), owned_key.release()) &&
                    set_item(dict.get(), shared.key(Line), owned_line.release());
    return ok ? dict.release() : nullptr;
}

PyObject* entry_to_py(const OutlineEntry& entry, const Shared& shared) {
    return entry_of(str_of(entry.key), PyLong_FromUnsignedLongLong(entry.line), shared);
}

// A new list of `size` entries, untracked, its items still unset.
PyObject* entry_list(std::size_t size) { return untracked(PyList_New(static_cast<Py_ssize_t>(size))); }

bool fill_entries(PyObject* list, std::size_t from, const std::vector<OutlineEntry>& entries, const Shared& shared) {
    for (std::size_t i = from; i < entries.size(); ++i) {
        PyObject* entry = entry_to_py(entries[i], shared);
        if (entry == nullptr) return false;
        PyList_SET_ITEM(list, static_cast<Py_ssize_t>(i), entry);
    }
    return true;
}

// The list of `entries`, whose memory is then given back.
PyObject* entries_to_py(std::vector<OutlineEntry>& entries, const Shared& shared) {
    Owned list(entry_list(entries.size()));
    if (!list || !fill_entries(list.get(), 0, entries, shared)) return nullptr;
    std::vector<OutlineEntry>().swap(entries);
    return list.release();
}

// The block dicts, in the outline's order, and the entries of the block
// onyms, which open the onyms list: each such entry shares its key and line
// with the block's onym and end.
class BlockConversion {
public:
    BlockConversion(const Outline& outline, OutlineRecords& records, Shared& shared, PyObject* onyms)
        : outline_(outline), records_(records), shared_(shared), onyms_(onyms) {}

    // The records read are given back a stretch at a time, so that a large
    // outline does not stand whole in memory twice.
    PyObject* blocks() {
        constexpr std::size_t stretch = 4096;
        Owned list(untracked(PyList_New(static_cast<Py_ssize_t>(records_.size()))));
        if (!list) return nullptr;
        genoses_lists_.reserve(records_.size());
        for (std::size_t i = 0; i < records_.size(); ++i) {
            if (i % stretch == 0) records_.forget_before(i);
            PyObject* block = block_to_py(records_.packed(i));
            if (block == nullptr) return nullptr;
            PyList_SET_ITEM(list.get(), static_cast<Py_ssize_t>(i), block);
        }
        return list.release();
    }

    // How many entries of the onyms list are set.
    std::size_t onyms_set() const { return onyms_set_; }

    // The genoses list of each block, in order (borrowed from the blocks).
    const std::vector<PyObject*>& genoses_lists() const { return genoses_lists_; }

private:
    PyObject* block_to_py(const OutlineRecords::Packed& record) {
        Owned dict(shared_.block_dict(record));
        if (!dict) return nullptr;
        PyObject* d = dict.get();
        Owned end(PyLong_FromUnsignedLongLong(record.end));
        if (!end || !set_onym(d, record, end.get())) return nullptr;
        const std::string_view lemma = records_.lemma(record);
        PyObject* genoses = genoses_to_py(records_, record, shared_);
        const bool ok = set_item(d, shared_.key(Genoses), genoses) &&
                        set_item(d, shared_.key(Start), PyLong_FromUnsignedLongLong(record.start)) &&
                        set_item(d, shared_.key(End), end.release()) &&
                        (lemma.empty() || set_item(d, shared_.key(Lemma), str_of(lemma)));
        if (!ok) return nullptr;
        genoses_lists_.push_back(genoses);  // the dict holds it from here
        return untracked(dict.release());
    }

    // Sets the block's onym, when it has one (the template's is None), and
    // its entry in the onyms list.
    bool set_onym(PyObject* dict, const OutlineRecords::Packed& record, PyObject* end) {
        const std::optional<std::string_view> onym = records_.onym(record);
        if (!onym) return true;
        Owned onym_str(str_of(*onym));
        return onym_str && add_onym_entry(*onym, record.end, onym_str.get(), end) &&
               set_item(dict, shared_.key(Onym), onym_str.release());
    }

    // Sets the next entry of the onyms list when it is this block's onym.
    bool add_onym_entry(std::string_view onym, std::uint64_t end, PyObject* onym_str, PyObject* end_int) {
        if (onyms_set_ >= outline_.onyms.size()) return true;
        const OutlineEntry& entry = outline_.onyms[onyms_set_];
        if (entry.key != onym || entry.line != end) return true;
        PyObject* made = entry_of(Py_NewRef(onym_str), Py_NewRef(end_int), shared_);
        if (made == nullptr) return false;
        PyList_SET_ITEM(onyms_, static_cast<Py_ssize_t>(onyms_set_++), made);
        return true;
    }

    const Outline& outline_;
    OutlineRecords& records_;
    Shared& shared_;
    PyObject* onyms_;
    std::size_t onyms_set_ = 0;
    std::vector<PyObject*> genoses_lists_;
};

// Hands the built containers to the collector (see `untracked`).
void track_result(PyObject* blocks, const std::vector<PyObject*>& genoses_lists,
                  const std::array<PyObject*, 3>& entry_lists) {
    for (PyObject* genoses : genoses_lists) track(genoses);
    const Py_ssize_t count = PyList_GET_SIZE(blocks);
    for (Py_ssize_t i = 0; i < count; ++i) track(PyList_GET_ITEM(blocks, i));
    track(blocks);
    for (PyObject* list : entry_lists) track(list);
}

// About the bytes of the new objects of the result, as the interpreter lays
// them out: a block's dict (272) with its genoses list (56, and 8 a genos),
// start and end (32 each) and a `str` for its lemma and onym (48 and the
// text); an entry's dict (184) with its key and line, which the entry of a
// block's onym shares with the block.
std::size_t expected_bytes(const Outline& outline) {
    constexpr std::size_t block = 272 + 56 + 2 * 32;
    constexpr std::size_t str = 48;
    constexpr std::size_t entry_dict = 184;
    constexpr std::size_t entry = entry_dict + str + 32;
    const OutlineRecords& records = outline.blocks;
    std::size_t bytes = 0;
    std::size_t block_onyms = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const OutlineRecords::Packed& record = records.packed(i);
        bytes += block + str + record.lemma_size + 8 * record.genos_count;
        if (record.has_onym) bytes += str + record.onym_size + entry_dict;
        block_onyms += record.has_onym;
    }
    const auto add_entries = [&](const std::vector<OutlineEntry>& entries, std::size_t from) {
        for (std::size_t i = from; i < entries.size(); ++i) bytes += entry + entries[i].key.size();
    };
    add_entries(outline.milestones, 0);
    add_entries(outline.onyms, block_onyms);  // the block onyms open the list
    add_entries(outline.deixes, 0);
    return bytes;
}

}  // namespace

PyObject* outline_to_py(Outline& outline) {
    const LargeArenas arenas(expected_bytes(outline));
    Shared shared(outline.blocks);
    if (!shared.make()) return nullptr;
    Owned milestones(entries_to_py(outline.milestones, shared));
    Owned deixes(entries_to_py(outline.deixes, shared));
    Owned onyms(entry_list(outline.onyms.size()));
    if (!milestones || !onyms || !deixes) return nullptr;
    BlockConversion conversion(outline, outline.blocks, shared, onyms.get());
    Owned blocks(conversion.blocks());
    if (!blocks || !fill_entries(onyms.get(), conversion.onyms_set(), outline.onyms, shared)) return nullptr;
    track_result(blocks.get(), conversion.genoses_lists(), {milestones.get(), onyms.get(), deixes.get()});
    Owned dict(PyDict_New());
    if (!dict) return nullptr;
    PyObject* d = dict.get();
    const bool ok = set_item(d, shared.key(Dialektos), str_of(outline.dialektos)) &&
                    set_item(d, shared.key(Blocks), blocks.release()) &&
                    set_item(d, shared.key(Milestones), milestones.release()) &&
                    set_item(d, shared.key(Onyms), onyms.release()) &&
                    set_item(d, shared.key(Deixes), deixes.release());
    return ok ? dict.release() : nullptr;
}

}  // namespace ilvex::py
