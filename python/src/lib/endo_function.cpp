// endo: import of a foreign format, written in brachygraphic spelling.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "arguments.hpp"
#include "dendron/writer.hpp"
#include "dialektos/memory_source.hpp"
#include "dialektos/resolution.hpp"
#include "endo/markdown_importer.hpp"
#include "exceptions.hpp"
#include "functions.hpp"

namespace ilvex::py {
namespace {

using Importer = Result<Document> (*)(std::string_view text);

struct EndoFormat {
    std::string_view name;
    Importer importer;  // null: the format's importer is not part of this build
    bool takes_scheme;
};

Result<Document> markdown(std::string_view text) { return import_markdown(text); }

// Matched byte for byte: case matters and nothing is trimmed.
constexpr std::array<EndoFormat, 12> formats = {{
    {"markdown", markdown, false},
    {"html", nullptr, false},
    {"rst", nullptr, false},
    {"org", nullptr, false},
    {"djot", nullptr, false},
    {"docbook", nullptr, false},
    {"bibtex", nullptr, false},
    {"jats", nullptr, false},
    {"tei", nullptr, false},
    {"usfm", nullptr, true},
    {"usx", nullptr, true},
    {"osis", nullptr, true},
}};

const EndoFormat* find_format(std::string_view name) {
    for (const EndoFormat& format : formats) {
        if (format.name == name) return &format;
    }
    return nullptr;
}

// The writer is given the importer's standard target, so that it can tell
// where the text needs a separator. The tree is released before Python
// copies the text, so the two are not alive together.
PyObject* write_imported(Document document) {
    Result<Dialektos> target = resolve_from_sources(MemorySource(), document.dialektos);
    if (!target) return core_error_to_py(target.error());
    const std::string written = write_document(document, &target.value());
    document = Document();
    return to_py_str(written);
}

}  // namespace

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
        std::string format_name, text;
        std::optional<std::string> scheme;
        if (!convert_str(format_object, "format", format_name) || !convert_str(text_object, "text", text) ||
            !convert_optional_str(scheme_object, "scheme", scheme)) {
            return nullptr;
        }
        const EndoFormat* format = find_format(format_name);
        if (format == nullptr) return binding_error(std::string("unsupported endo format: ").append(format_name));
        if (format->importer == nullptr) return not_implemented(format_name.c_str());
        Result<Document> document = format->importer(text);
        if (!document) return core_error_to_py(document.error());
        if (scheme && !format->takes_scheme) return binding_error("scheme applies to usfm/usx/osis only");
        std::string().swap(text);
        return write_imported(std::move(document).value());
    });
}

}  // namespace ilvex::py
