// THROWAWAY stand-ins so the block parser builds and runs before the inline
// parser, the suffix reader and resolution are merged. Delete this file at
// merge; nothing may rely on how these behave.
#include <algorithm>
#include <array>

#include "dialektos/resolution.hpp"
#include "dialektos/sim_lookup.hpp"
#include "dialektos/unicode.hpp"
#include "parser/inline_parser.hpp"
#include "parser/sim_reference.hpp"
#include "parser/suffix.hpp"

namespace ilvex {

Result<std::vector<Inline>> parse_inline_text(const ParserState&, const Dialektos&,
                                              std::string_view text, std::uint64_t) {
    if (text.empty()) return std::vector<Inline>{};
    return std::vector<Inline>{Inline::Text{std::string(text)}};
}

Result<SimReference> resolve_sim_reference(const Dialektos& dialektos, std::string_view text,
                                           const ErrorLocation& location) {
    if (!text.starts_with('{')) {
        const SimDef* sim = longest_symbol_match(dialektos, text);
        if (sim == nullptr) return SimReference{};
        return SimReference{sim, std::nullopt, sim->symbol.size(), unicode::char_count(sim->symbol)};
    }
    const std::size_t close = text.find('}');
    if (close == std::string_view::npos) {
        Error error(ErrorKind::Other, "unterminated plerographic name reference");
        error.location = location;
        return error;
    }
    const std::string name(text.substr(1, close - 1));
    const NameLookup lookup = sim_by_name(dialektos, name);
    if (lookup.outcome != NameLookup::Outcome::Found) {
        Error error = lookup.outcome == NameLookup::Outcome::NotFound
                          ? Error(ErrorKind::UndefinedSim, "{" + name + "}")
                          : Error(ErrorKind::Other, "sim name `" + name +
                                                        "` is duplicated in this dialektos and "
                                                        "not plerographically addressable");
        error.location = location;
        return error;
    }
    return SimReference{lookup.sim, name, close + 1, unicode::char_count(text.substr(0, close + 1))};
}

Result<SuffixAndRest> parse_suffix_text(const ParserState&, std::string_view text,
                                        std::uint64_t) {
    Suffix suffix;
    std::size_t i = 0;
    if (text.starts_with('(')) {
        const std::size_t close = text.find(')');
        if (close != std::string_view::npos) {
            suffix.onym = std::string(text.substr(1, close - 1));
            i = close + 1;
        }
    }
    auto genos_char = [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'; };
    while (i + 1 < text.size() && text[i] == '.' && text[i + 1] >= 'a' && text[i + 1] <= 'z') {
        std::size_t end = i + 1;
        while (end < text.size() && genos_char(text[end])) ++end;
        suffix.genoses.emplace_back(text.substr(i + 1, end - i - 1));
        i = end;
    }
    if (i < text.size() && text[i] == '|') ++i;
    return SuffixAndRest{std::move(suffix), std::string(text.substr(i))};
}

Result<Dialektos> resolve_from_dir(std::string_view, std::string_view id) {
    static constexpr std::array<std::string_view, 14> standard = {
        "il-djot", "koine",  "il-prosa", "il-poesia", "il-drama",  "il-docbook",  "il-html",
        "il-markdown", "il-org", "il-rst", "il-tei", "il-usfm", "litogramma", "bibliogramma"};
    if (std::find(standard.begin(), standard.end(), id) == standard.end()) {
        return Error(ErrorKind::UnresolvedDialektos, std::string(id));
    }
    Dialektos dialektos;
    dialektos.id = std::string(id);
    return dialektos;
}

Result<Dialektos> parse_definition_file(std::string_view, std::string_view) { return Dialektos{}; }

}  // namespace ilvex
