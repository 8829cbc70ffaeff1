// A lexigramma definition for the tests: the dictionary dialektos that TEI
// dictionaries are imported into is defined by its user, not by the
// standard library. This one declares every symbol the importer writes
// (koine's for the rest), so that imported dictionaries can be checked and
// read back.
#pragma once

#include <string>
#include <string_view>

#include "temp_directory.hpp"

namespace ilvex::testing {

inline constexpr std::string_view lexigramma_definition = R"(@@@!ilvex
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
)";

// A directory holding lexigramma.dia; a document placed in it resolves
// lexigramma and every standard dialektos.
class LexigrammaDirectory {
public:
    LexigrammaDirectory() { dir_.write("lexigramma.dia", lexigramma_definition); }
    std::string path() const { return dir_ / "doc.ild"; }

private:
    TempDirectory dir_;
};

inline const LexigrammaDirectory& lexigramma_directory() {
    static const LexigrammaDirectory directory;
    return directory;
}

}  // namespace ilvex::testing
