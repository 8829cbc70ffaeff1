// The embedded definitions parsed once per process. Their texts are
// constants, so with no local file in play each parses to the same dialektos
// on every call; resolution uses these parses instead of parsing again
// whenever that gives what parsing again would.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialektos/model.hpp"
#include "dialektos/std_library.hpp"
#include "dialektos/symbol_index.hpp"

namespace ilvex {

struct StdParse {
    Dialektos dialektos;
    // The length of its longest import chain, itself included.
    std::size_t height = 0;
    // Its id and the ids of every definition it imports, directly or not,
    // in byte order without repeats.
    std::vector<std::string> closure;
    // The index of its symbols, built once beside it.
    std::optional<SymbolIndex> symbols;
};

// The parse of the embedded definition of `id` from a source without files,
// built on first use and never changed after; null when `id` is not a
// standard id. Safe to call from several threads.
const StdParse* std_parse(std::string_view id);
// The same for an entry of the embedded table.
const StdParse* std_parse(const StdDefinition& definition);

// The index built beside `dialektos` when it is one of these parses (not a
// copy of one), so that a parse against it need not build its own; null
// otherwise.
const SymbolIndex* std_symbol_index(const Dialektos& dialektos);

}  // namespace ilvex
