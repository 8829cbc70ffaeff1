// A scripture import with a versification scheme: the scheme pass needs the
// whole document (whether a milestone of the scheme exists anywhere decides
// what it does to page and section milestones), so the import is collected,
// rewritten, and only then handed on.
#pragma once

#include <string_view>

#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"

namespace ilvex {

// A streaming importer entry, as endo calls it.
using ScriptureImporter = Status (*)(std::string_view text, ImportSink& sink);

// Imports `text` through `importer`, applies the scheme pass and gives
// `sink` the declaration and the blocks. An import error comes first; then a
// scheme that is no valid genos, which no milestone could be written with,
// fails with "invalid milestone scheme `{}`".
Status import_with_scheme(ScriptureImporter importer, std::string_view text, std::string_view scheme,
                          ImportSink& sink);

}  // namespace ilvex
