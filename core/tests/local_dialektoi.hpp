// Small local definitions for the round-trip properties, in a temporary
// directory that documents resolve their dialektoi from.
#pragma once

#include <string>
#include <string_view>

#include "temp_directory.hpp"

namespace ilvex::testing {

// Sims whose symbols collide as real ones do (a symbol that begins a longer
// one, a monosim whose symbol and "(" begin a longer symbol, a symbol that
// is "(", a closer that begins with "|"), every occurrence of taxis, lemma
// and hypograph, both bodies and both episim derivations, with two glossae.
inline constexpr std::string_view mini_definition = R"(@@@!ilvex
@@:: il-poesia
@=== section
@#[(taxis)] [lemma]
grammata
#@ [hypograph]
===@
@=== aside
@| [lemma]
grammata
|@
===@
@=== footnote
@^[(taxis)]
grammata
^@
===@
@=== dialogue
@: [lemma]
grammata
:@
===@
@=== entry
@& lemma
grammata
&@ hypograph
===@
@=== chapter
@§(taxis) [lemma]
grammata
§@
===@
@=== song
@~~[(taxis)] [lemma]
stichos
~~@ [hypograph]
===@
@=== stage
@:( grammata ):@
===@
@=== strong
@* grammata *@
===@
@=== break
@** grammata **@
===@
@=== strong-emphasis
@*/ grammata /*@
===@
@=== emphasis
@/ grammata /@
===@
@=== quote
@< grammata >@
===@
@=== plain-quote
@<< grammata <<@
===@
@=== paren
@( grammata )@
===@
@=== ref
@>(onym)
===@
@=== heading-ref
@>>(onym)
===@
)";

inline constexpr std::string_view mini_de = "@@@!ilvex-glossa\n@=mini=>de\n@# abschnitt\n@* stark\n@~ vers\n@> verweis\n";
inline constexpr std::string_view mini_el = "@@@!ilvex-glossa\n@=mini=>el\n@# τμήμα\n@/ έμφαση\n@~~ ᾠδή\n";

// A directory with the local definitions: "mini" with its two glossae, and
// "shelf", which imports from mini and koine. A document placed in it
// resolves them, and every standard dialektos that they do not shadow.
class LocalDialektoi {
public:
    LocalDialektoi() {
        dir_.write("mini.dia", mini_definition);
        dir_.write("mini.de.glossa", mini_de);
        dir_.write("mini.el.glossa", mini_el);
        dir_.write("shelf.lektos", "@@@!ilvex\n@@:: mini :: [* #]\n@@::koine:-:[* #]\n");
    }
    // Where a document of this directory nominally lives.
    std::string path() const { return dir_ / "doc.ild"; }
    const std::string& dir() const { return dir_.path(); }

private:
    TempDirectory dir_;
};

// One directory for the whole process.
inline const LocalDialektoi& local_dialektoi() {
    static const LocalDialektoi dialektoi;
    return dialektoi;
}

}  // namespace ilvex::testing
