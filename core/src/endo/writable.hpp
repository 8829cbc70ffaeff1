// Source values made writable. The writer puts genoses, parameters and
// literal text down as they are, and the parser refuses or reads otherwise
// some of what a foreign source may hold; importers pass what they take from
// their source through these helpers (and those of dendron/writable_values),
// so that what they build parses back to the same text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dendron/writable_values.hpp"

namespace ilvex {

// A class, language or type word as a genos: the word when it is a valid
// genos, else its ASCII-lower-cased form when that is one ("Python" gives
// "python"), else nothing, and the word is dropped ("c++", "2nd").
std::optional<std::string> writable_genos(std::string_view word);

// A `Text` that ends with a backslash cannot stand right before markup: the
// parser reads the backslash and the sigil after it as an escape. Moves such
// trailing backslashes of the items of `inlines` into an `Enlexis` of their
// own. Nested lists are left alone: each converter calls this on the lists
// it builds.
void isolate_trailing_backslashes(std::vector<Inline>& inlines);

// Puts every string of an imported block and its descendants in NFC. The
// parser reads a document in NFC: a tree written with other strings would
// read back changed. Texts side by side are one text once written; two whose
// NFC joined is not the two NFCs side by side (a combining mark that begins
// the second) are joined.
void compose_strings(Block& block);

}  // namespace ilvex
