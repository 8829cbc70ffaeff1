// Lexigramma for the tests: the dictionary dialektos that TEI dictionaries
// are imported into is defined by its user, not by the standard library.
// The tests define it with the importer's own definition, which declares
// every symbol the importer writes, so that imported dictionaries can be
// checked and read back.
#pragma once

#include <string>
#include <string_view>

#include "endo/user_defined_target.hpp"
#include "temp_directory.hpp"

namespace ilvex::testing {

// A directory holding lexigramma.dia; a document placed in it resolves
// lexigramma and every standard dialektos.
class LexigrammaDirectory {
public:
    LexigrammaDirectory() { dir_.write("lexigramma.dia", user_defined_target_definition); }
    std::string path() const { return dir_ / "doc.ild"; }

private:
    TempDirectory dir_;
};

inline const LexigrammaDirectory& lexigramma_directory() {
    static const LexigrammaDirectory directory;
    return directory;
}

}  // namespace ilvex::testing
