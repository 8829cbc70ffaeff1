// Resolution of a dialektos id into a complete dialektos: the local
// definition file "<id>.lektos" or "<id>.dia" of a source with the glossae
// beside it, else the embedded standard definition.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dialektos/model.hpp"
#include "dialektos/resolution_stack.hpp"
#include "dialektos/result.hpp"
#include "dialektos/source.hpp"

namespace ilvex {

// `read` of `name`, with a present text normalized to NFC.
Result<std::optional<std::string>> read_definition(const DefinitionSource& source, std::string_view name);

// Resolves `id` through `source`: an id already on `stack` is an inheritance
// cycle, and imports resolve through the same source and stack.
Result<Dialektos> resolve_dialektos(const DefinitionSource& source, std::string_view id, ResolutionStack& stack);

// resolve_dialektos without the copy: the dialektos returned is the one
// `stack` keeps, or a standard one parsed once per process, and lives at
// least as long as the stack.
Result<const Dialektos*> resolve_kept_dialektos(const DefinitionSource& source, std::string_view id,
                                                ResolutionStack& stack);

// Resolves `id` from the directory `dir` ("" for the current directory).
Result<Dialektos> resolve_from_dir(std::string_view dir, std::string_view id);

// Resolves `id` from `source`, with a fresh stack.
Result<Dialektos> resolve_from_sources(const DefinitionSource& source, std::string_view id);

// Parses a definition text handed in directly: its id is the file stem of
// `path`, its imports resolve in the directory of `path`, and its errors are
// located at `path`. No glossae are collected.
Result<Dialektos> parse_definition_file(std::string_view text, std::string_view path);

}  // namespace ilvex
