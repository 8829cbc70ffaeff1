#include "arguments.hpp"

#include <algorithm>

#include "dialektos/unicode.hpp"

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

bool borrow_str(PyObject* object, const char* name, std::string_view& out) {
    return str_view_or_fail(object, name, out);
}

namespace {

// Characters encoded at a time: the piece ends after the last "\n" in
// reach (or the first one beyond), where normalizing the pieces one by one
// gives what normalizing the whole would, since nothing composes with or
// reorders around a line feed.
constexpr Py_ssize_t piece_characters = 1 << 20;

// The end of the piece that begins at `start` of a text of `length`.
Py_ssize_t piece_end(PyObject* object, Py_ssize_t start, Py_ssize_t length) {
    const Py_ssize_t reach = std::min(length, start + piece_characters);
    if (reach == length) return length;
    Py_ssize_t newline = PyUnicode_FindChar(object, '\n', start, reach, -1);
    if (newline < 0) newline = PyUnicode_FindChar(object, '\n', reach, length, 1);
    return newline < 0 ? length : newline + 1;
}

// Appends the UTF-8 of characters [start, end) of `object` to `out`, in NFC.
bool append_nfc_piece(PyObject* object, Py_ssize_t start, Py_ssize_t end, std::string& out) {
    PyObject* piece = PyUnicode_Substring(object, start, end);
    if (piece == nullptr) return false;
    Py_ssize_t size = 0;
    const char* data = PyUnicode_AsUTF8AndSize(piece, &size);
    if (data != nullptr) {
        const std::string_view utf8(data, static_cast<std::size_t>(size));
        if (unicode::is_nfc(utf8)) {
            out += utf8;
        } else {
            out += unicode::nfc(utf8);
        }
    }
    Py_DECREF(piece);
    return data != nullptr;
}

}  // namespace

bool borrow_document_text(PyObject* object, const char* name, std::string& storage, std::string_view& out) {
    if (!PyUnicode_Check(object)) return fail_type(object, "str", name);
    if (PyUnicode_IS_ASCII(object)) return str_view_or_fail(object, name, out);
    const Py_ssize_t length = PyUnicode_GET_LENGTH(object);
    // Room for the longest encoding of the text's widest characters: pages
    // never written cost no memory, and the text is never moved to grow.
    storage.reserve(static_cast<std::size_t>(length) * std::min<std::size_t>(PyUnicode_KIND(object) + 1, 4));
    for (Py_ssize_t start = 0; start < length;) {
        const Py_ssize_t end = piece_end(object, start, length);
        if (!append_nfc_piece(object, start, end, storage)) {
            // The error of encoding the whole text, as borrow_str gives it.
            PyErr_Clear();
            storage = std::string();
            return str_view_or_fail(object, name, out);
        }
        start = end;
    }
    out = storage;
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
