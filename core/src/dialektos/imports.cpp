#include "dialektos/imports.hpp"

#include <optional>
#include <set>

#include "dialektos/lexical.hpp"
#include "dialektos/resolution.hpp"
#include "dialektos/serialization.hpp"
#include "dialektos/sim_block.hpp"
#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

// An import line after "@@::": the parent part, then either nothing (every
// sim), ":-:" and an exclusion list, or "::" and a tail naming the sims.
struct ImportSyntax {
    enum class Kind { All, Exclude, Tail };
    std::string_view parent_part;
    Kind kind = Kind::All;
    std::string_view selection;
};

ImportSyntax split_import(std::string_view rest) {
    if (const auto at = rest.find(":-:"); at != std::string_view::npos) {
        return {rest.substr(0, at), ImportSyntax::Kind::Exclude, rest.substr(at + 3)};
    }
    if (const auto at = rest.find("::"); at != std::string_view::npos) {
        return {rest.substr(0, at), ImportSyntax::Kind::Tail, rest.substr(at + 2)};
    }
    return {rest, ImportSyntax::Kind::All, {}};
}

// The parent id without the version that may follow an "@" (always "@",
// whatever the sigil).
std::string_view parent_id(std::string_view parent_part) {
    parent_part = unicode::trim(parent_part);
    return parent_part.substr(0, parent_part.find('@'));
}

// Under a new symbol whose two episims agree, the mirrored flag makes no
// difference; it is stored the way a sim block would read it.
void settle_mirrored(SimDef& sim) {
    if (episim_symbol(sim.symbol, true) == episim_symbol(sim.symbol, false)) sim.mirrored = true;
}

// A sim taken under a new symbol must still be one that a sim block could
// define, or the dialektos could not be written out and read back. The check
// writes the sim's ostensive definition and reads it again: a symbol that is
// empty, holds a character outside the symbol rules or a brace, or that would
// let the written definition read as another form, does not come back.
bool reads_back(const SimDef& sim) {
    std::string written;
    append_ostensive(written, sim);
    const DefinitionLines lines(written);
    const DefinitionText text{lines, "", keywords_for(Sigil::At)};
    const auto read = read_ostensive(text, 0, sim.name);
    return read.ok() && read->symbol == sim.symbol && read->form == sim.form && read->mirrored == sim.mirrored &&
           read->lemma_vocabulary == sim.lemma_vocabulary;
}

Error placed(Error error, const ErrorLocation& location) {
    error.location = location;
    return error;
}

Error undefined_sim(std::string_view symbol, const ErrorLocation& location) {
    return placed(Error(ErrorKind::UndefinedSim, std::string(symbol)), location);
}

Result<ImportSelection> import_all(const Dialektos& parent, const ErrorLocation& location, SimTable& sims) {
    for (const auto& [symbol, sim] : parent.sims) {
        if (auto inserted = insert_sim(sims, location, sim); !inserted) return std::move(inserted).error();
    }
    return ImportSelection{SelectAll{}};
}

Result<ImportSelection> import_excluding(const Dialektos& parent, std::string_view list,
                                         const ErrorLocation& location, SimTable& sims) {
    auto symbols = parse_symbol_list(list, location);
    if (!symbols) return std::move(symbols).error();
    const std::set<std::string_view> excluded(symbols->begin(), symbols->end());
    for (const auto& [symbol, sim] : parent.sims) {
        if (excluded.contains(symbol)) continue;
        if (auto inserted = insert_sim(sims, location, sim); !inserted) return std::move(inserted).error();
    }
    return ImportSelection{SelectExclude{std::move(*symbols)}};
}

Result<ImportSelection> import_only(const Dialektos& parent, std::string_view list, const ErrorLocation& location,
                                    SimTable& sims) {
    auto symbols = parse_symbol_list(list, location);
    if (!symbols) return std::move(symbols).error();
    for (const std::string& symbol : *symbols) {
        const auto found = parent.sims.find(symbol);
        if (found == parent.sims.end()) return undefined_sim(symbol, location);
        if (auto inserted = insert_sim(sims, location, found->second); !inserted) return std::move(inserted).error();
    }
    return ImportSelection{SelectOnly{std::move(*symbols)}};
}

Result<ImportSelection> import_one(const Dialektos& parent, std::string_view tail, const ErrorLocation& location,
                                   SimTable& sims) {
    const auto words = split_words(tail);
    auto malformed = [&] {
        return placed(Error(ErrorKind::InvalidDefinition, "malformed import: " + quoted(unicode::trim(tail))),
                      location);
    };
    if (words.size() > 2) return malformed();
    const std::string_view symbol = words.empty() ? std::string_view() : words[0];
    const auto found = parent.sims.find(symbol);
    if (found == parent.sims.end()) return undefined_sim(symbol, location);
    SimDef sim = found->second;
    std::optional<std::string> new_symbol;
    if (words.size() == 2) {
        new_symbol = std::string(words[1]);
        sim.symbol = *new_symbol;
        settle_mirrored(sim);
        if (!reads_back(sim)) return malformed();
    }
    if (auto inserted = insert_sim(sims, location, std::move(sim)); !inserted) return std::move(inserted).error();
    return ImportSelection{SelectOne{std::string(symbol), std::move(new_symbol)}};
}

}  // namespace

Result<std::vector<std::string>> parse_symbol_list(std::string_view text, const ErrorLocation& location) {
    text = unicode::trim(text);
    if (text.size() < 2 || text.front() != '[' || text.back() != ']') {
        return placed(Error(ErrorKind::InvalidDefinition, "expected `[sym ...]`, found " + quoted(text)), location);
    }
    std::vector<std::string> symbols;
    for (const std::string_view word : split_words(text.substr(1, text.size() - 2))) symbols.emplace_back(word);
    return symbols;
}

Status insert_sim(SimTable& sims, const ErrorLocation& location, SimDef sim) {
    const auto found = sims.find(sim.symbol);
    if (found != sims.end()) return placed(Error(ErrorKind::ConflictingSimSymbol, sim.symbol), location);
    std::string symbol = sim.symbol;
    sims.emplace(std::move(symbol), std::move(sim));
    return {};
}

Status read_import_line(const DefinitionText& text, std::size_t index, const DefinitionSource& source,
                        ResolutionStack& stack, Dialektos& dialektos) {
    const std::string_view rest = unicode::trim(text.lines.trimmed(index).substr(text.keywords.import.size()));
    const ImportSyntax syntax = split_import(rest);
    std::string id(parent_id(syntax.parent_part));
    auto kept = resolve_kept_dialektos(source, id, stack);
    if (!kept) return text.at_line(std::move(kept).error(), index);
    const Dialektos& parent = **kept;
    const ErrorLocation location{std::string(text.source_name), index + 1, 1};
    auto selection = [&]() -> Result<ImportSelection> {
        switch (syntax.kind) {
            case ImportSyntax::Kind::All: return import_all(parent, location, dialektos.sims);
            case ImportSyntax::Kind::Exclude: return import_excluding(parent, syntax.selection, location, dialektos.sims);
            case ImportSyntax::Kind::Tail: break;
        }
        if (unicode::trim(syntax.selection).starts_with('[')) {
            return import_only(parent, syntax.selection, location, dialektos.sims);
        }
        return import_one(parent, syntax.selection, location, dialektos.sims);
    }();
    if (!selection) return std::move(selection).error();
    dialektos.imports.push_back({std::move(id), std::move(*selection)});
    return {};
}

}  // namespace ilvex
