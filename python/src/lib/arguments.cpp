#include "arguments.hpp"

#include <algorithm>

#include "lock_release.hpp"
#include "str_nfc.hpp"
#include "str_utf8.hpp"

namespace ilvex::py {
namespace {

void add_note_to_pending(const char* name) {
    PyObject* note = PyUnicode_FromFormat("while processing '%s'", name);
    if (note == nullptr) return;
#if PY_VERSION_HEX >= 0x030C0000
    PyObject* exception = PyErr_GetRaisedException();
    PyObject* result = PyObject_CallMethod(exception, "add_note", "O", note);
    Py_XDECREF(result);
    if (result == nullptr) PyErr_Clear();
    PyErr_SetRaisedException(exception);
#else
    PyObject *type, *value, *traceback;
    PyErr_Fetch(&type, &value, &traceback);
    PyErr_NormalizeException(&type, &value, &traceback);
    if (traceback != nullptr) PyException_SetTraceback(value, traceback);
    PyObject* result = PyObject_CallMethod(value, "add_note", "O", note);
    Py_XDECREF(result);
    if (result == nullptr) PyErr_Clear();
    PyErr_Restore(type, value, traceback);
#endif
    Py_DECREF(note);
}

bool fail_type(PyObject* object, const char* expected, const char* name) {
    PyErr_Format(PyExc_TypeError, "'%s' object cannot be converted to '%s'",
                 Py_TYPE(object)->tp_name, expected);
    add_note_to_pending(name);
    return false;
}

// UTF-8 of a `str`, as the object holds it; a lone surrogate leaves the
// interpreter's UnicodeEncodeError.
bool utf8_of(PyObject* object, std::string_view& out) {
    Py_ssize_t size = 0;
    const char* data = PyUnicode_AsUTF8AndSize(object, &size);
    if (data == nullptr) return false;
    out = std::string_view(data, static_cast<std::size_t>(size));
    return true;
}

bool str_view_or_fail(PyObject* object, const char* name, std::string_view& out) {
    if (!PyUnicode_Check(object)) return fail_type(object, "str", name);
    if (!utf8_of(object, out)) {
        add_note_to_pending(name);
        return false;
    }
    return true;
}

bool str_or_fail(PyObject* object, const char* name, std::string& out) {
    std::string_view utf8;
    if (!str_view_or_fail(object, name, utf8)) return false;
    out.assign(utf8);
    return true;
}

}  // namespace

bool convert_str(PyObject* object, const char* name, std::string& out) {
    return str_or_fail(object, name, out);
}

namespace {

// The error of encoding the whole text, as the interpreter gives it, once
// the module's own encoding met a lone surrogate.
bool fail_encoding(PyObject* object, const char* name, ByteBuffer& storage, std::string_view& out) {
    storage.release();
    return str_view_or_fail(object, name, out);
}

// Characters normalized at a time: the piece ends after the last "\n" in
// reach (or the first one beyond), where normalizing the pieces one by one
// gives what normalizing the whole would, since nothing composes with or
// reorders around a line feed. Small enough that the normalized copy of a
// piece takes little memory and is still in the cache when it is encoded.
constexpr Py_ssize_t piece_characters = 1 << 14;

// The end of the piece that begins at `start` of the `length` characters
// at `chars`.
template <class Char>
Py_ssize_t piece_end(const Char* chars, Py_ssize_t start, Py_ssize_t length) {
    const Py_ssize_t reach = std::min(length, start + piece_characters);
    if (reach == length) return length;
    for (Py_ssize_t at = reach; at > start; --at) {
        if (chars[at - 1] == '\n') return at;
    }
    for (Py_ssize_t at = reach; at < length; ++at) {
        if (chars[at] == '\n') return at + 1;
    }
    return length;
}

Py_ssize_t piece_end(PyObject* object, Py_ssize_t start, Py_ssize_t length) {
    switch (PyUnicode_KIND(object)) {
        case PyUnicode_1BYTE_KIND:
            return piece_end(PyUnicode_1BYTE_DATA(object), start, length);
        case PyUnicode_2BYTE_KIND:
            return piece_end(PyUnicode_2BYTE_DATA(object), start, length);
        default:
            return piece_end(PyUnicode_4BYTE_DATA(object), start, length);
    }
}

}  // namespace

bool borrow_text(PyObject* object, const char* name, ByteBuffer& storage, std::string_view& out) {
    if (!PyUnicode_Check(object)) return fail_type(object, "str", name);
    if (PyUnicode_IS_ASCII(object)) return str_view_or_fail(object, name, out);
    const Py_ssize_t length = PyUnicode_GET_LENGTH(object);
    // A long text is encoded without the lock: the caller's `str` is kept
    // alive by the call and never changes.
    const bool encoded =
        without_lock(static_cast<std::size_t>(length), [&] { return append_utf8(object, 0, length, storage); });
    if (!encoded) return fail_encoding(object, name, storage, out);
    out = storage.view();
    return true;
}

bool borrow_document_text(PyObject* object, const char* name, ByteBuffer& storage, std::string_view& out) {
    if (!PyUnicode_Check(object)) return fail_type(object, "str", name);
    // Text of Latin-1 characters is in NFC: none of them combines with
    // another or is reordered.
    if (PyUnicode_KIND(object) == PyUnicode_1BYTE_KIND) return borrow_text(object, name, storage, out);
    const Py_ssize_t length = PyUnicode_GET_LENGTH(object);
    // Room for the longest encoding: pages never written cost no memory,
    // and the text is never moved to grow unless normalizing lengthens it.
    storage.reserve(utf8_room(object, static_cast<std::size_t>(length)));
    // Encoded and normalized without the lock for a long text, as in
    // borrow_text().
    const bool encoded = without_lock(static_cast<std::size_t>(length), [&] {
        NfcEncoder encoder;
        for (Py_ssize_t start = 0; start < length;) {
            const Py_ssize_t end = piece_end(object, start, length);
            storage.populate(storage.size() + utf8_room(object, static_cast<std::size_t>(end - start)));
            if (!encoder.append(object, start, end, storage)) return false;
            start = end;
        }
        return true;
    });
    if (!encoded) return fail_encoding(object, name, storage, out);
    out = storage.view();
    return true;
}

bool convert_str_or(PyObject* object, const char* name, const char* fallback, std::string& out) {
    if (object == nullptr) {
        out = fallback;
        return true;
    }
    return str_or_fail(object, name, out);
}

bool convert_optional_str(PyObject* object, const char* name, std::optional<std::string>& out) {
    if (object == nullptr || object == Py_None) {
        out.reset();
        return true;
    }
    return str_or_fail(object, name, out.emplace());
}

bool convert_optional_str_dict(PyObject* object, const char* name,
                               std::optional<std::map<std::string, std::string>>& out) {
    if (object == nullptr || object == Py_None) {
        out.reset();
        return true;
    }
    if (!PyDict_Check(object)) return fail_type(object, "dict", name);
    auto& entries = out.emplace();
    PyObject* key = nullptr;
    PyObject* value = nullptr;
    Py_ssize_t position = 0;
    std::string key_text;
    while (PyDict_Next(object, &position, &key, &value)) {
        if (!str_or_fail(key, name, key_text)) return false;
        if (!str_or_fail(value, name, entries[key_text])) return false;
    }
    return true;
}

PyObject* to_py_str(const std::string& text) {
    return PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
}

}  // namespace ilvex::py
