// Resolution of a dialektos id, and the parsing of a definition text handed
// in directly. (Declarations only, as agreed with resolution; its own header
// replaces this one.)
#pragma once

#include <string_view>

#include "dialektos/model.hpp"
#include "dialektos/result.hpp"

namespace ilvex {

// Resolves `id` from the directory `dir` ("" is the current directory), then
// from the embedded standard library.
Result<Dialektos> resolve_from_dir(std::string_view dir, std::string_view id);

// Parses a definition text; the dialektos id is the file stem of `path`.
Result<Dialektos> parse_definition_file(std::string_view text, std::string_view path);

}  // namespace ilvex
