// endo: import of a foreign format, written in brachygraphic spelling.
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "arguments.hpp"
#include "endo/import_writer.hpp"
#include "exceptions.hpp"
#include "functions.hpp"
#include "lib/endo_formats.hpp"
#include "lock_release.hpp"
#include "str_builder.hpp"

namespace ilvex::py {
namespace {

// The importer gives each block to the writer as soon as it is read, so the
// tree is never held whole, and the writer hands its text straight to the
// `str` being built. With a scheme, a scripture import's blocks pass through
// the scheme pass on their way to the writer.
Status write_import(const EndoFormat& format, std::string_view text, const std::optional<std::string>& scheme,
                    StrBuilder& built) {
    ImportWriter writer(text.size(), [&built](std::string_view piece) { built.append(piece); });
    if (Status imported = import_endo(format, text, scheme, writer); !imported) return imported;
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
        ByteBuffer storage;
        std::string_view text;
        std::optional<std::string> scheme;
        if (!convert_str(format_object, "format", format_name) ||
            !borrow_text(text_object, "text", storage, text) ||
            !convert_optional_str(scheme_object, "scheme", scheme)) {
            return nullptr;
        }
        const EndoFormat* format = find_endo_format(format_name);
        if (format == nullptr) return binding_error(std::string("unsupported endo format: ").append(format_name));
        if (format->importer == nullptr) return not_implemented(format_name.c_str());
        // An imported text is about as long as its source (a little
        // longer for its markup, shorter for tag-heavy formats): room for an
        // eighth more leaves it little to grow or give back.
        StrBuilder built(text_object, text.size(), text.size() + text.size() / 8 + 4096);
        // A format that takes no scheme is imported without it, so that an
        // import error is reported before the scheme's misuse.
        const Status written =
            without_lock_into(built, text.size(), [&] { return write_import(*format, text, scheme, built); });
        storage.release();  // before the result is made
        if (!written) {
            return core_error_to_py(written.error());
        }
        if (scheme && !format->takes_scheme) return binding_error("scheme applies to usfm/usx/osis only");
        return std::move(built).finish();
    });
}

}  // namespace ilvex::py
