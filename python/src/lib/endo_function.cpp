// endo: import of a foreign format, written in brachygraphic spelling.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "arguments.hpp"
#include "endo/import_writer.hpp"
#include "endo/jats/jats_importer.hpp"
#include "endo/light_markup/djot_importer.hpp"
#include "endo/light_markup/markdown_importer.hpp"
#include "endo/light_markup/org_importer.hpp"
#include "endo/tei/tei_importer.hpp"
#include "exceptions.hpp"
#include "str_builder.hpp"
#include "functions.hpp"

namespace ilvex::py {
namespace {

// Hands the imported document to a sink: its declaration, then each
// top-level block as soon as it is read.
using Importer = Status (*)(std::string_view text, ImportSink& sink);

struct EndoFormat {
    std::string_view name;
    Importer importer;  // null: the format's importer is not part of this build
    bool takes_scheme;
};

// Matched byte for byte: case matters and nothing is trimmed.
constexpr std::array<EndoFormat, 12> formats = {{
    {"markdown", import_markdown, false},
    {"html", nullptr, false},
    {"rst", nullptr, false},
    {"org", import_org, false},
    {"djot", import_djot, false},
    {"docbook", nullptr, false},
    {"bibtex", nullptr, false},
    {"jats", import_jats, false},
    {"tei", import_tei, false},
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

// The importer gives each block to the writer as soon as it is read, so the
// tree is never held whole, and the writer hands its text straight to the
// `str` being built.
Status write_import(Importer importer, std::string_view text, StrBuilder& built) {
    ImportWriter writer(text.size(), [&built](std::string_view piece) { built.append(piece); });
    if (Status imported = importer(text, writer); !imported) return imported;
    (void)std::move(writer).finish();  // hands over the rest
    return {};
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
        std::string format_name;
        std::string_view text;  // only read: a copy would add the input's size to the peak
        std::optional<std::string> scheme;
        if (!convert_str(format_object, "format", format_name) || !borrow_str(text_object, "text", text) ||
            !convert_optional_str(scheme_object, "scheme", scheme)) {
            return nullptr;
        }
        const EndoFormat* format = find_format(format_name);
        if (format == nullptr) return binding_error(std::string("unsupported endo format: ").append(format_name));
        if (format->importer == nullptr) return not_implemented(format_name.c_str());
        StrBuilder built(text.size(), PyUnicode_IS_ASCII(text_object));
        if (const Status written = write_import(format->importer, text, built); !written) {
            return core_error_to_py(written.error());
        }
        if (scheme && !format->takes_scheme) return binding_error("scheme applies to usfm/usx/osis only");
        return std::move(built).finish();
    });
}

}  // namespace ilvex::py
