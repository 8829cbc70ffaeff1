// The one target dialektos an importer declares that the standard library
// does not hold: lexigramma, the dialektos of TEI dictionaries, which its
// user defines.
#pragma once

#include <string_view>

#include "dialektos/model.hpp"
#include "dialektos/result.hpp"

namespace ilvex {

inline constexpr std::string_view user_defined_target = "lexigramma";

// A definition of lexigramma declaring every symbol the dictionary importer
// writes (koine's for the rest): the writer's spelling is resolved from it,
// and a user may define lexigramma with it to check and read back imported
// dictionaries.
inline constexpr std::string_view user_defined_target_definition = R"(@@@!ilvex
@@::koine
@=== entry
@![(taxis)] [lemma]
grammata
!@
===@
@=== sense
@:(taxis)
grammata
:@
===@
@=== variant-form
@=~ grammata ~=@
===@
@=== inflected-form
@=* grammata *=@
===@
@=== pronunciation
@=% grammata %=@
===@
@=== hyphenation
@=- grammata -=@
===@
@=== grammar
@=& grammata &=@
===@
@=== etymology
@=< grammata >=@
===@
@=== usage
@[ grammata ]@
===@
@=== grammatical-word
@& grammata &@
===@
@=== example
@~ grammata ~@
===@
@=== translation
@' grammata '@
===@
)";;

// The sims the dictionary importer writes (its own and koine's), for the
// writer to tell where a symbol would run on into the text after it. Only
// a spelling aid: no document resolves it, and the user's definition gives
// the symbols their meaning.
Result<Dialektos> user_defined_target_spelling();

// The dialektos an import declaring `id` is written with: the standard one
// of that id, or the spelling of the user-defined target.
Result<Dialektos> import_target_dialektos(std::string_view id);

}  // namespace ilvex
