// check, brachy, plero and outline.
#include <optional>
#include <string>
#include <variant>

#include "arguments.hpp"
#include "dendron/outline.hpp"
#include "dendron/writer.hpp"
#include "exceptions.hpp"
#include "functions.hpp"
#include "lib/check_entry.hpp"
#include "lock_release.hpp"
#include "outline_objects.hpp"
#include "str_builder.hpp"

namespace ilvex::py {
namespace {

constexpr const char* default_path = "doc.ild";
constexpr const char* definition_source = "definition source: this operation applies to documents";

// Binds (text, path="doc.ild") for the functions that take just these. The
// text is only read, so an ASCII one is borrowed from the `str`
// (`text_object`); any other is held once, in NFC, in `storage`. Either
// way the text is in NFC, which the core then need not check.
bool bind_text_and_path(PyObject* args, PyObject* kwargs, const char* format, PyObject*& text_object,
                        ByteBuffer& storage, std::string_view& text, std::string& path) {
    static const char* keywords[] = {"text", "path", nullptr};
    PyObject* path_object = nullptr;
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, format, const_cast<char**>(keywords),
                                     &text_object, &path_object)) {
        return false;
    }
    return borrow_document_text(text_object, "text", storage, text) &&
           convert_str_or(path_object, "path", default_path, path);
}

// The length, in characters, that a written text of `text` gets room for
// at first: brachy's shortest forms keep a text about as long as its
// source, plero's full names make it longer, by up to a half. A little more
// room than that leaves the result little to outgrow or give back.
std::size_t expected_length(PyObject* text, std::size_t eighths) {
    const auto length = static_cast<std::size_t>(PyUnicode_GET_LENGTH(text));
    return length / 8 * eighths + 4096;
}

// Hands the written text to the `str` being built.
TextSink appender(StrBuilder& built) {
    return [&built](std::string_view piece) { built.append(piece); };
}

// Gives back the memory of the text held in `storage` as the parse is done
// with it, while the result grows; nothing for a text borrowed from the
// caller's `str`.
TextDone discarder(ByteBuffer& storage) {
    if (storage.size() == 0) return {};
    return [&storage](std::size_t offset) { storage.discard_front(offset); };
}

}  // namespace

PyObject* check(PyObject*, PyObject* args, PyObject* kwargs) {
    return trap_panics([&]() -> PyObject* {
        PyObject* text_object = nullptr;
        ByteBuffer storage;
        std::string_view text;
        std::string path;
        if (!bind_text_and_path(args, kwargs, "O|O:check", text_object, storage, text, path)) return nullptr;
        Result<InputKind> kind = without_lock(text.size(), [&] { return check_input(text, path, TextForm::Nfc); });
        if (!kind) return core_error_to_py(kind.error());
        return PyUnicode_FromString(kind.value() == InputKind::Dialektos ? "dialektos" : "document");
    });
}

PyObject* brachy(PyObject*, PyObject* args, PyObject* kwargs) {
    return trap_panics([&]() -> PyObject* {
        PyObject* text_object = nullptr;
        ByteBuffer storage;
        std::string_view text;
        std::string path;
        if (!bind_text_and_path(args, kwargs, "O|O:brachy", text_object, storage, text, path)) return nullptr;
        StrBuilder built(text_object, text.size(), expected_length(text_object, 9));
        Result<std::optional<std::string>> written = without_lock_into(built, text.size(), [&] {
            return write_brachy(text, path, appender(built), TextForm::Nfc, discarder(storage));
        });
        storage.release();  // before the result is made
        if (!written) return core_error_to_py(written.error());
        if (!written.value()) return binding_error(definition_source);
        return std::move(built).finish();
    });
}

PyObject* plero(PyObject*, PyObject* args, PyObject* kwargs) {
    return trap_panics([&]() -> PyObject* {
        static const char* keywords[] = {"text", "lang", "path", nullptr};
        PyObject* text_object = nullptr;
        PyObject* lang_object = nullptr;
        PyObject* path_object = nullptr;
        if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O|OO:plero", const_cast<char**>(keywords),
                                         &text_object, &lang_object, &path_object)) {
            return nullptr;
        }
        std::string_view text;
        std::string path;
        std::optional<std::string> lang;
        ByteBuffer storage;
        if (!borrow_document_text(text_object, "text", storage, text) ||
            !convert_optional_str(lang_object, "lang", lang) ||
            !convert_str_or(path_object, "path", default_path, path)) {
            return nullptr;
        }
        StrBuilder built(text_object, text.size(), expected_length(text_object, 12));
        Result<std::optional<std::string>> written = without_lock_into(built, text.size(), [&] {
            return write_plero(text, path, lang ? std::optional<std::string_view>(*lang) : std::nullopt,
                               appender(built), TextForm::Nfc, discarder(storage));
        });
        storage.release();  // before the result is made
        if (!written) return core_error_to_py(written.error());
        if (!written.value()) return binding_error(definition_source);
        return std::move(built).finish();
    });
}

PyObject* outline(PyObject*, PyObject* args, PyObject* kwargs) {
    return trap_panics([&]() -> PyObject* {
        PyObject* text_object = nullptr;
        ByteBuffer storage;
        std::string_view text;
        std::string path;
        if (!bind_text_and_path(args, kwargs, "O|O:outline", text_object, storage, text, path)) return nullptr;
        Result<Outline> outline =
            without_lock(text.size(), [&]() -> Result<Outline> { return outline_document(text, path); });
        storage.release();  // before the result is made
        if (!outline) return core_error_to_py(outline.error());
        return outline_to_py(outline.value());
    });
}

}  // namespace ilvex::py
