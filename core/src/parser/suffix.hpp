// The suffix written after an opener, a closer or an inline item: "(onym)",
// then ".genos" items, then an optional "|".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "parser/inline_scanner.hpp"
#include "parser/parser_state.hpp"

namespace ilvex {

struct SuffixAndRest {
    Suffix suffix;
    std::string_view rest;  // the text after the suffix, a view of the text read
};

// Reads the suffix at the scanner into `suffix` (which is empty), leaving the
// scanner after its last character. A "." that does not start a genos is
// left for the caller as text. Most items have no suffix: filling one the
// caller holds spares moving an empty one through a Result.
Status parse_suffix(InlineScanner& scanner, Suffix& suffix);

// Reads the suffix at the start of `text`, the part of a closing line after
// its closer; `line_index` is that line's 0-based index.
Result<SuffixAndRest> parse_suffix_text(const ParserState& state, std::string_view text,
                                        std::uint64_t line_index);

}  // namespace ilvex
