#include "outline_objects.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

PyObject* optional_str(const std::optional<std::string>& text) {
    if (!text) Py_RETURN_NONE;
    return to_py_str(*text);
}

// Sets dict[key] = value, taking over the new reference `value`.
bool set_item(PyObject* dict, const char* key, PyObject* value) {
    Owned owned(value);
    return owned && PyDict_SetItemString(dict, key, owned.get()) == 0;
}

template <class Item, class Convert>
PyObject* list_of(const std::vector<Item>& items, Convert convert) {
    Owned list(PyList_New(static_cast<Py_ssize_t>(items.size())));
    if (!list) return nullptr;
    for (std::size_t i = 0; i < items.size(); ++i) {
        PyObject* item = convert(items[i]);
        if (item == nullptr) return nullptr;
        PyList_SET_ITEM(list.get(), static_cast<Py_ssize_t>(i), item);
    }
    return list.release();
}

PyObject* block_to_py(const OutlineBlock& block) {
    Owned dict(PyDict_New());
    if (!dict) return nullptr;
    const bool ok = set_item(dict.get(), "kind", str_of(block.kind)) &&
                    set_item(dict.get(), "symbol", optional_str(block.symbol)) &&
                    set_item(dict.get(), "name", optional_str(block.name)) &&
                    set_item(dict.get(), "depth", PyLong_FromUnsignedLongLong(block.depth)) &&
                    set_item(dict.get(), "start", PyLong_FromUnsignedLongLong(block.start)) &&
                    set_item(dict.get(), "end", PyLong_FromUnsignedLongLong(block.end)) &&
                    set_item(dict.get(), "lemma", to_py_str(block.lemma)) &&
                    set_item(dict.get(), "onym", optional_str(block.onym)) &&
                    set_item(dict.get(), "genoses", list_of(block.genoses, to_py_str));
    return ok ? dict.release() : nullptr;
}

PyObject* entry_to_py(const OutlineEntry& entry) {
    Owned dict(PyDict_New());
    if (!dict) return nullptr;
    const bool ok = set_item(dict.get(), "key", to_py_str(entry.key)) &&
                    set_item(dict.get(), "line", PyLong_FromUnsignedLongLong(entry.line));
    return ok ? dict.release() : nullptr;
}

}  // namespace

PyObject* outline_to_py(const Outline& outline) {
    Owned dict(PyDict_New());
    if (!dict) return nullptr;
    const bool ok = set_item(dict.get(), "dialektos", to_py_str(outline.dialektos)) &&
                    set_item(dict.get(), "blocks", list_of(outline.blocks, block_to_py)) &&
                    set_item(dict.get(), "milestones", list_of(outline.milestones, entry_to_py)) &&
                    set_item(dict.get(), "onyms", list_of(outline.onyms, entry_to_py)) &&
                    set_item(dict.get(), "deixes", list_of(outline.deixes, entry_to_py));
    return ok ? dict.release() : nullptr;
}

}  // namespace ilvex::py
