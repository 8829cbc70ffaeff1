#include "lib/endo_formats.hpp"

#include <array>

#include "endo/bibtex/bibtex_importer.hpp"
#include "endo/docbook/docbook_importer.hpp"
#include "endo/html/html_importer.hpp"
#include "endo/jats/jats_importer.hpp"
#include "endo/light_markup/djot_importer.hpp"
#include "endo/light_markup/markdown_importer.hpp"
#include "endo/light_markup/org_importer.hpp"
#include "endo/light_markup/rst_importer.hpp"
#include "endo/scripture/osis_importer.hpp"
#include "endo/scripture/scheme_import.hpp"
#include "endo/scripture/usfm_importer.hpp"
#include "endo/scripture/usx_importer.hpp"
#include "endo/tei/tei_importer.hpp"

namespace ilvex {
namespace {

constexpr std::array<EndoFormat, 12> formats = {{
    {"markdown", import_markdown, false},
    {"html", import_html, false},
    {"rst", import_rst, false},
    {"org", import_org, false},
    {"djot", import_djot, false},
    {"docbook", import_docbook, false},
    {"bibtex", import_bibtex, false},
    {"jats", import_jats, false},
    {"tei", import_tei, false},
    {"usfm", import_usfm, true},
    {"usx", import_usx, true},
    {"osis", import_osis, true},
}};

// A text read from a file saved with a byte-order mark starts with U+FEFF
// when the caller decoded it as plain UTF-8. It marks the encoding, not the
// content: kept, it would refuse an XML root or turn a first heading into text.
std::string_view without_byte_order_mark(std::string_view text) {
    constexpr std::string_view mark = "\xEF\xBB\xBF";
    return text.starts_with(mark) ? text.substr(mark.size()) : text;
}

}  // namespace

std::span<const EndoFormat> endo_formats() { return formats; }

const EndoFormat* find_endo_format(std::string_view name) {
    for (const EndoFormat& format : formats) {
        if (format.name == name) return &format;
    }
    return nullptr;
}

Status import_endo(const EndoFormat& format, std::string_view text, const std::optional<std::string>& scheme,
                   ImportSink& sink) {
    text = without_byte_order_mark(text);
    if (scheme && format.takes_scheme) return import_with_scheme(format.importer, text, *scheme, sink);
    return format.importer(text, sink);
}

}  // namespace ilvex
