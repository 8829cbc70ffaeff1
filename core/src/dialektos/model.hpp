// The in-memory model of a resolved dialektos. Every map is ordered by the
// byte order of its UTF-8 keys; the transparent comparator lets lookups take
// string views without copying.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

namespace ilvex {

enum class Sigil : std::uint8_t { At, Backslash };

enum class SimBody : std::uint8_t { Grammata = 0, Stichos = 1 };

enum class Occurrence : std::uint8_t { Required = 0, Optional = 1, Absent = 2 };

struct EndoSimmere {
    bool operator==(const EndoSimmere&) const = default;
};

struct ParaSimmere {
    SimBody body = SimBody::Grammata;
    bool autonym = false;
    Occurrence taxis = Occurrence::Absent;
    Occurrence lemma = Occurrence::Absent;
    Occurrence hypograph = Occurrence::Absent;

    bool operator==(const ParaSimmere&) const = default;
};

struct Monosim {
    std::string parameter;

    bool operator==(const Monosim&) const = default;
};

using SimForm = std::variant<EndoSimmere, ParaSimmere, Monosim>;

struct SimDef {
    std::string name;
    std::string symbol;
    SimForm form;
    bool mirrored = true;
    std::optional<std::string> parent;
    std::optional<std::string> lemma_vocabulary;
    std::optional<std::string> genos_vocabulary;
    std::optional<std::string> short_description;
    std::optional<std::string> long_description;

    bool operator==(const SimDef&) const = default;
};

struct SelectAll {
    bool operator==(const SelectAll&) const = default;
};
struct SelectExclude {
    std::vector<std::string> symbols;
    bool operator==(const SelectExclude&) const = default;
};
struct SelectOne {
    std::string symbol;
    std::optional<std::string> new_symbol;
    bool operator==(const SelectOne&) const = default;
};
struct SelectOnly {
    std::vector<std::string> symbols;
    bool operator==(const SelectOnly&) const = default;
};

using ImportSelection = std::variant<SelectAll, SelectExclude, SelectOne, SelectOnly>;

struct DialektosImport {
    std::string dialektos;
    ImportSelection selection;

    bool operator==(const DialektosImport&) const = default;
};

// Canonical term -> its aliases.
using Vocabulary = std::map<std::string, std::set<std::string, std::less<>>, std::less<>>;

// Sim symbol -> localized name.
using Glossa = std::map<std::string, std::string, std::less<>>;

struct Dialektos {
    std::string id;
    std::map<std::string, SimDef, std::less<>> sims;
    std::vector<DialektosImport> imports;
    std::map<std::string, Vocabulary, std::less<>> vocabularies;
    std::map<std::string, Glossa, std::less<>> glossae;

    bool operator==(const Dialektos&) const = default;
};

}  // namespace ilvex
