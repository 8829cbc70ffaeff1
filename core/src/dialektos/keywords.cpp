#include "dialektos/keywords.hpp"

#include <string_view>

namespace ilvex {
namespace {

std::string spelled(std::string_view at_form, char sigil) {
    std::string out(at_form);
    for (char& c : out) {
        if (c == '@') c = sigil;
    }
    return out;
}

Keywords make_keywords(Sigil sigil) {
    const char s = sigil_char(sigil);
    return Keywords{
        .sigil = s,
        .block_comment_open = spelled("@@@/", s),
        .block_comment_close = spelled("/@@@", s),
        .line_comment = spelled("@@/", s),
        .import = spelled("@@::", s),
        .vocabulary_open = spelled("@==% ", s),
        .vocabulary_close = spelled("%==@", s),
        .sim_open = spelled("@=== ", s),
        .sim_close = spelled("===@", s),
        .long_open = spelled("@\"\"", s),
        .long_close = spelled("\"\"@", s),
        .short_open = spelled("@\"", s),
        .short_close = spelled("\"@", s),
        .parent_open = spelled("@^(", s),
        .genos_open = spelled("@% ", s),
    };
}

}  // namespace

char sigil_char(Sigil sigil) { return sigil == Sigil::At ? '@' : '\\'; }

const Keywords& keywords_for(Sigil sigil) {
    static const Keywords at = make_keywords(Sigil::At);
    static const Keywords backslash = make_keywords(Sigil::Backslash);
    return sigil == Sigil::At ? at : backslash;
}

}  // namespace ilvex
