// endo: import of a foreign format.
#include <optional>
#include <string>

#include "arguments.hpp"
#include "exceptions.hpp"
#include "functions.hpp"

namespace ilvex::py {

PyObject* endo(PyObject*, PyObject* args, PyObject* kwargs) {
    return trap_panics([&]() -> PyObject* {
        static const char* keywords[] = {"format", "text", "scheme", nullptr};
        PyObject* format_object = nullptr;
        PyObject* text_object = nullptr;
        PyObject* scheme_object = nullptr;
        if (!PyArg_ParseTupleAndKeywords(args, kwargs, "OO|O:endo", const_cast<char**>(keywords),
                                         &format_object, &text_object, &scheme_object)) {
            return nullptr;
        }
        std::string format, text;
        std::optional<std::string> scheme;
        if (!convert_str(format_object, "format", format) || !convert_str(text_object, "text", text) ||
            !convert_optional_str(scheme_object, "scheme", scheme)) {
            return nullptr;
        }
        return not_implemented("endo");
    });
}

}  // namespace ilvex::py
