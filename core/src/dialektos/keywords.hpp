// The keywords of a definition text. Each is spelled with the text's sigil,
// so a text declared with three backslashes writes "\\::" where one declared
// with "@@@!" writes "@@::".
#pragma once

#include <string>

#include "dialektos/model.hpp"

namespace ilvex {

struct Keywords {
    char sigil = '@';
    std::string block_comment_open;   // @@@/
    std::string block_comment_close;  // /@@@
    std::string line_comment;         // @@/
    std::string import;               // @@::
    std::string vocabulary_open;      // "@==% "
    std::string vocabulary_close;     // %==@
    std::string sim_open;             // "@=== "
    std::string sim_close;            // ===@
    std::string long_open;            // @""
    std::string long_close;           // ""@
    std::string short_open;           // @"
    std::string short_close;          // "@
    std::string parent_open;          // @^(
    std::string genos_open;           // "@% "
};

char sigil_char(Sigil sigil);

const Keywords& keywords_for(Sigil sigil);

}  // namespace ilvex
