#include "outline_objects.hpp"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "arguments.hpp"

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

// What one conversion shares: the keys, and one `str` for each text that
// repeats across blocks (kinds, symbols, names, genoses), so that an outline
// of many blocks holds one object per distinct value rather than one per
// block. The texts are views into the outline, which outlives the
// conversion.
class Shared {
public:
    bool make_keys() {
        for (std::size_t i = 0; i < KeyCount; ++i) {
            keys_[i] = PyUnicode_InternFromString(key_texts[i]);
            if (keys_[i] == nullptr) return false;
        }
        return true;
    }
    ~Shared() {
        for (PyObject* key : keys_) Py_XDECREF(key);
        for (auto& [text, object] : strs_) Py_DECREF(object);
    }

    PyObject* key(Key key) const { return keys_[key]; }

    // A new reference to the one `str` of `text`.
    PyObject* str(std::string_view text) {
        const auto found = strs_.find(text);
        if (found != strs_.end()) {
            Py_INCREF(found->second);
            return found->second;
        }
        PyObject* made = str_of(text);
        if (made == nullptr) return nullptr;
        strs_.emplace(text, made);
        Py_INCREF(made);
        return made;
    }

    PyObject* optional_str(const std::optional<std::string>& text) {
        if (!text) Py_RETURN_NONE;
        return str(*text);
    }

private:
    std::array<PyObject*, KeyCount> keys_{};
    std::unordered_map<std::string_view, PyObject*> strs_;
};

// Sets dict[key] = value, taking over the new reference `value`.
bool set_item(PyObject* dict, PyObject* key, PyObject* value) {
    Owned owned(value);
    return owned && PyDict_SetItem(dict, key, owned.get()) == 0;
}

template <class Items, class Convert>
PyObject* list_of(const Items& items, Convert convert) {
    Owned list(PyList_New(static_cast<Py_ssize_t>(items.size())));
    if (!list) return nullptr;
    Py_ssize_t i = 0;
    for (const auto& item : items) {
        PyObject* converted = convert(item);
        if (converted == nullptr) return nullptr;
        PyList_SET_ITEM(list.get(), i++, converted);
    }
    return list.release();
}

PyObject* block_to_py(const OutlineBlock& block, Shared& shared) {
    Owned dict(PyDict_New());
    if (!dict) return nullptr;
    PyObject* d = dict.get();
    const auto shared_str = [&shared](const std::string& text) { return shared.str(text); };
    const bool ok = set_item(d, shared.key(Kind), shared.str(block.kind)) &&
                    set_item(d, shared.key(Symbol), shared.optional_str(block.symbol)) &&
                    set_item(d, shared.key(Name), shared.optional_str(block.name)) &&
                    set_item(d, shared.key(Depth), PyLong_FromUnsignedLongLong(block.depth)) &&
                    set_item(d, shared.key(Start), PyLong_FromUnsignedLongLong(block.start)) &&
                    set_item(d, shared.key(End), PyLong_FromUnsignedLongLong(block.end)) &&
                    set_item(d, shared.key(Lemma), to_py_str(block.lemma)) &&
                    set_item(d, shared.key(Onym), block.onym ? to_py_str(*block.onym) : Py_NewRef(Py_None)) &&
                    set_item(d, shared.key(Genoses), list_of(block.genoses, shared_str));
    return ok ? dict.release() : nullptr;
}

PyObject* entry_to_py(const OutlineEntry& entry, const Shared& shared) {
    Owned dict(PyDict_New());
    if (!dict) return nullptr;
    const bool ok = set_item(dict.get(), shared.key(EntryKey), to_py_str(entry.key)) &&
                    set_item(dict.get(), shared.key(Line), PyLong_FromUnsignedLongLong(entry.line));
    return ok ? dict.release() : nullptr;
}

// Keeps the cyclic garbage collector from running while the result is
// built: each of its passes would walk the containers made so far, none of
// which can be garbage, nor part of a cycle, before the result is returned.
// The collector is left as the caller had it; no Python code runs in
// between, so no other thread sees it paused.
class CollectorPause {
public:
    CollectorPause() : was_enabled_(PyGC_Disable() != 0) {}
    ~CollectorPause() {
        if (was_enabled_) PyGC_Enable();
    }
    CollectorPause(const CollectorPause&) = delete;
    CollectorPause& operator=(const CollectorPause&) = delete;

private:
    bool was_enabled_;
};

}  // namespace

PyObject* outline_to_py(const Outline& outline) {
    Shared shared;
    if (!shared.make_keys()) return nullptr;
    const CollectorPause paused;
    Owned dict(PyDict_New());
    if (!dict) return nullptr;
    PyObject* d = dict.get();
    const auto block = [&shared](const OutlineBlock& item) { return block_to_py(item, shared); };
    const auto entry = [&shared](const OutlineEntry& item) { return entry_to_py(item, shared); };
    const bool ok = set_item(d, shared.key(Dialektos), to_py_str(outline.dialektos)) &&
                    set_item(d, shared.key(Blocks), list_of(outline.blocks, block)) &&
                    set_item(d, shared.key(Milestones), list_of(outline.milestones, entry)) &&
                    set_item(d, shared.key(Onyms), list_of(outline.onyms, entry)) &&
                    set_item(d, shared.key(Deixes), list_of(outline.deixes, entry));
    return ok ? dict.release() : nullptr;
}

}  // namespace ilvex::py
