// The foreign formats that endo reads, by name, and the import of a text in
// one of them, with the versification scheme where the format takes one.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"

namespace ilvex {

// Hands the imported document to a sink: its declaration, then each
// top-level block as soon as it is read.
using Importer = Status (*)(std::string_view text, ImportSink& sink);

struct EndoFormat {
    std::string_view name;
    Importer importer;  // null: the format's importer is not part of this build
    bool takes_scheme;  // the scripture formats, whose marks a scheme rewrites
};

// Every format, in endo's order.
std::span<const EndoFormat> endo_formats();

// The format of that name, matched byte for byte (case matters and nothing
// is trimmed); null when there is none.
const EndoFormat* find_endo_format(std::string_view name);

// Imports `text` into `sink`; with a scheme, which only a format that takes
// one may be given, the blocks pass through the scheme pass on their way.
Status import_endo(const EndoFormat& format, std::string_view text, const std::optional<std::string>& scheme,
                   ImportSink& sink);

}  // namespace ilvex
