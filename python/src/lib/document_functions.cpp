// check, brachy, plero and outline.
#include <string>

#include "arguments.hpp"
#include "exceptions.hpp"
#include "functions.hpp"

namespace ilvex::py {
namespace {

constexpr const char* default_path = "doc.ild";

// Binds (text, path="doc.ild") for the functions that take just these.
bool bind_text_and_path(PyObject* args, PyObject* kwargs, const char* format, std::string& text,
                        std::string& path) {
    static const char* keywords[] = {"text", "path", nullptr};
    PyObject* text_object = nullptr;
    PyObject* path_object = nullptr;
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, format, const_cast<char**>(keywords),
                                     &text_object, &path_object)) {
        return false;
    }
    return convert_str(text_object, "text", text) &&
           convert_str_or(path_object, "path", default_path, path);
}

}  // namespace

PyObject* check(PyObject*, PyObject* args, PyObject* kwargs) {
    return trap_panics([&]() -> PyObject* {
        std::string text, path;
        if (!bind_text_and_path(args, kwargs, "O|O:check", text, path)) return nullptr;
        return not_implemented("check");
    });
}

PyObject* brachy(PyObject*, PyObject* args, PyObject* kwargs) {
    return trap_panics([&]() -> PyObject* {
        std::string text, path;
        if (!bind_text_and_path(args, kwargs, "O|O:brachy", text, path)) return nullptr;
        return not_implemented("brachy");
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
        std::string text, path;
        std::optional<std::string> lang;
        if (!convert_str(text_object, "text", text) ||
            !convert_optional_str(lang_object, "lang", lang) ||
            !convert_str_or(path_object, "path", default_path, path)) {
            return nullptr;
        }
        return not_implemented("plero");
    });
}

PyObject* outline(PyObject*, PyObject* args, PyObject* kwargs) {
    return trap_panics([&]() -> PyObject* {
        std::string text, path;
        if (!bind_text_and_path(args, kwargs, "O|O:outline", text, path)) return nullptr;
        return not_implemented("outline");
    });
}

}  // namespace ilvex::py
