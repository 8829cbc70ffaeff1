#include "dialektos/sim_block.hpp"

#include <array>

#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

constexpr std::string_view required_taxis = "(taxis)";
constexpr std::string_view optional_taxis = "[(taxis)]";

std::string sim_message(std::string_view name, std::string_view what) {
    return "sim " + quoted(name) + ": " + std::string(what);
}

bool is_ascii_alnum_or_hyphen(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

// The byte length of the symbol at the start of `body` (the ostensive line
// after its sigil): symbol characters, except that the symbol ends before a
// taxis part and before a "(" that opens the line's monosim tail. Only the
// last "(" of a line can open a whole monosim tail, since a tail holds no
// other "(", so it is found once rather than tested at every "(".
std::size_t symbol_length(std::string_view body) {
    const std::size_t last_paren = body.rfind('(');
    const std::size_t tail = last_paren != std::string_view::npos && monosim_param(body.substr(last_paren))
                                 ? last_paren
                                 : std::string_view::npos;
    std::size_t i = 0;
    while (i < body.size()) {
        const std::string_view from_here = body.substr(i);
        if (from_here.starts_with(optional_taxis)) break;
        if (from_here.starts_with(required_taxis) || i == tail) break;
        std::size_t next = i;
        if (!is_symbol_char(unicode::next_char(body, next))) break;
        i = next;
    }
    return i;
}

// Whether an endo-simmere line's text after the symbol, trailing White_Space
// removed, ends with `closer` (an episim and the sigil) and shows "grammata"
// before it.
bool closes_endo_line(std::string_view rest, std::string_view closer) {
    return rest.ends_with(closer) &&
           rest.substr(0, rest.size() - closer.size()).find("grammata") != std::string_view::npos;
}

struct HeaderParts {
    Occurrence taxis = Occurrence::Absent;
    Occurrence lemma = Occurrence::Absent;
    std::optional<std::string> lemma_vocabulary;
};

Result<HeaderParts> read_header_parts(const DefinitionText& text, std::size_t index,
                                      std::string_view name, std::string_view rest) {
    HeaderParts parts;
    if (rest.starts_with(required_taxis)) {
        parts.taxis = Occurrence::Required;
        rest.remove_prefix(required_taxis.size());
    } else if (rest.starts_with(optional_taxis)) {
        parts.taxis = Occurrence::Optional;
        rest.remove_prefix(optional_taxis.size());
    }
    const std::string_view lemma_part = unicode::trim(rest);
    std::string_view keyword = lemma_part;
    if (lemma_part.starts_with("lemma=")) {
        parts.lemma_vocabulary = std::string(unicode::trim(lemma_part.substr(6)));
        keyword = "lemma";
    } else if (lemma_part.size() >= 8 && lemma_part.starts_with("[lemma=") && lemma_part.ends_with("]")) {
        parts.lemma_vocabulary = std::string(unicode::trim(lemma_part.substr(7, lemma_part.size() - 8)));
        keyword = "[lemma]";
    }
    if (keyword == "lemma") {
        parts.lemma = Occurrence::Required;
    } else if (keyword == "[lemma]") {
        parts.lemma = Occurrence::Optional;
    } else if (!keyword.empty()) {
        return text.invalid(index, sim_message(name, "unexpected header content " + quoted(lemma_part)));
    }
    return parts;
}

struct EpisimLine {
    std::size_t index = 0;
    bool mirrored = true;
    std::string_view after;  // the text after the episim and the sigil
};

// The first line after the header that begins with the mirrored episim and
// the sigil or, failing that, with the plain one. The search runs to the end
// of the text: a para-simmere's episim may look like the closing line.
std::optional<EpisimLine> find_episim_line(const DefinitionText& text, std::size_t header,
                                           const std::string& symbol) {
    const std::string mirrored_closer = episim_symbol(symbol, true) + text.keywords.sigil;
    const std::string plain_closer = episim_symbol(symbol, false) + text.keywords.sigil;
    for (std::size_t index = header + 1; index < text.lines.size(); ++index) {
        const std::string_view line = text.lines.trimmed(index);
        if (line.starts_with(mirrored_closer)) return EpisimLine{index, true, line.substr(mirrored_closer.size())};
        if (line.starts_with(plain_closer)) return EpisimLine{index, false, line.substr(plain_closer.size())};
    }
    return std::nullopt;
}

struct BodyKeywords {
    SimBody body = SimBody::Grammata;
    bool autonym = false;
};

// The non-empty lines between header and episim line: "grammata" or
// "stichos", optionally after "autonym".
std::optional<BodyKeywords> read_body_keywords(const DefinitionText& text, std::size_t header,
                                               std::size_t episim) {
    std::array<std::string_view, 2> found;
    std::size_t count = 0;
    for (std::size_t index = header + 1; index < episim; ++index) {
        const std::string_view line = text.lines.trimmed(index);
        if (line.empty()) continue;
        if (count == found.size()) return std::nullopt;
        found[count++] = line;
    }
    if (count == 0) return std::nullopt;
    BodyKeywords keywords;
    if (count == 2) {
        if (found[0] != "autonym") return std::nullopt;
        keywords.autonym = true;
    }
    const std::string_view body = found[count - 1];
    if (body == "stichos") {
        keywords.body = SimBody::Stichos;
    } else if (body != "grammata") {
        return std::nullopt;
    }
    return keywords;
}

std::optional<Occurrence> hypograph_occurrence(std::string_view part) {
    if (part.empty()) return Occurrence::Absent;
    if (part == "hypograph") return Occurrence::Required;
    if (part == "[hypograph]") return Occurrence::Optional;
    return std::nullopt;
}

Result<Ostensive> read_para_simmere(const DefinitionText& text, std::size_t header, std::string_view name,
                                    std::string symbol, std::string_view rest) {
    auto parts = read_header_parts(text, header, name, rest);
    if (!parts) return std::move(parts).error();
    const auto episim = find_episim_line(text, header, symbol);
    if (!episim) return text.invalid(header, sim_message(name, "episim line not found"));
    const auto keywords = read_body_keywords(text, header, episim->index);
    if (!keywords) {
        return text.invalid(header, sim_message(name,
                                                "expected optional property keywords (`autonym`) followed by "
                                                "a `grammata` or `stichos` line in the ostensive definition"));
    }
    const std::string_view hypograph_part = unicode::trim(episim->after);
    const auto hypograph = hypograph_occurrence(hypograph_part);
    if (!hypograph) {
        return text.invalid(episim->index,
                            sim_message(name, "unexpected episim-line content " + quoted(hypograph_part)));
    }
    const ParaSimmere form{.body = keywords->body,
                           .autonym = keywords->autonym,
                           .taxis = parts->taxis,
                           .lemma = parts->lemma,
                           .hypograph = *hypograph};
    return Ostensive{std::move(symbol), form, episim->mirrored, std::move(parts->lemma_vocabulary),
                     episim->index + 1};
}

// Reads a long description whose opener is at line `index`; returns it and
// the line after it.
Result<std::pair<std::string, std::size_t>> read_long_description(const DefinitionText& text,
                                                                   std::size_t index) {
    const Keywords& keywords = text.keywords;
    const std::string_view after = text.lines.trimmed(index).substr(keywords.long_open.size());
    if (after.ends_with(keywords.long_close)) {
        const auto inner = after.substr(0, after.size() - keywords.long_close.size());
        return std::pair{std::string(unicode::trim(inner)), index + 1};
    }
    for (std::size_t close = index + 1; close < text.lines.size(); ++close) {
        if (text.lines.trimmed(close) != keywords.long_close) continue;
        std::string joined;
        for (std::size_t line = index + 1; line < close; ++line) {
            if (line > index + 1) joined += '\n';
            joined += text.lines.raw(line);
        }
        return std::pair{std::string(unicode::trim(joined)), close + 1};
    }
    return text.at_line(Error(ErrorKind::UnmatchedSim, keywords.long_open), index);
}

// Reads the property lines from `index` up to the closing line into `sim`;
// returns the line after the closing line.
Result<std::size_t> read_properties(const DefinitionText& text, std::size_t open, std::size_t index,
                                    SimDef& sim) {
    const Keywords& keywords = text.keywords;
    while (index < text.lines.size()) {
        const std::string_view line = text.lines.trimmed(index);
        if (line.empty()) {
            ++index;
        } else if (line == keywords.sim_close) {
            return index + 1;
        } else if (line.starts_with(keywords.genos_open)) {
            sim.genos_vocabulary = std::string(unicode::trim(line.substr(keywords.genos_open.size())));
            ++index;
        } else if (line.starts_with(keywords.long_open)) {
            auto description = read_long_description(text, index);
            if (!description) return std::move(description).error();
            sim.long_description = std::move(description->first);
            index = description->second;
        } else if (line.starts_with(keywords.short_open)) {
            const std::string_view after = line.substr(keywords.short_open.size());
            if (!after.ends_with(keywords.short_close)) {
                return text.invalid(index, sim_message(sim.name, "malformed short description"));
            }
            sim.short_description =
                std::string(unicode::trim(after.substr(0, after.size() - keywords.short_close.size())));
            ++index;
        } else if (line.starts_with(keywords.parent_open)) {
            if (line.size() == keywords.parent_open.size() || !line.ends_with(')')) {
                return text.invalid(index, sim_message(sim.name, "malformed parent reference"));
            }
            sim.parent = std::string(line.substr(keywords.parent_open.size(),
                                                 line.size() - keywords.parent_open.size() - 1));
            ++index;
        } else {
            return text.invalid(index, sim_message(sim.name, "unexpected definition content " + quoted(line)));
        }
    }
    return text.at_line(Error(ErrorKind::UnmatchedSim, keywords.sim_open + sim.name), open + 1);
}

}  // namespace

std::optional<std::string> monosim_param(std::string_view text) {
    text = unicode::trim_end(text);
    if (text.size() < 3 || text.front() != '(' || text.back() != ')') return std::nullopt;
    const std::string_view inner = text.substr(1, text.size() - 2);
    for (const char c : inner) {
        if (!is_ascii_alnum_or_hyphen(c)) return std::nullopt;
    }
    if (inner == "taxis") return std::nullopt;
    return std::string(inner);
}

Result<Ostensive> read_ostensive(const DefinitionText& text, std::size_t index, std::string_view name) {
    const std::string_view line = text.lines.trimmed(index);
    if (line.empty() || line.front() != text.keywords.sigil) {
        return text.invalid(index, sim_message(name, "ostensive definition must start with the sigil"));
    }
    const std::string_view body = line.substr(1);
    const std::size_t length = symbol_length(body);
    std::string symbol(body.substr(0, length));
    const std::string_view rest = body.substr(length);
    if (symbol.empty()) return text.invalid(index, sim_message(name, "empty symbol"));
    if (symbol.find_first_of("{}") != std::string::npos) {
        return text.invalid(index, sim_message(name, "`{` and `}` are reserved and cannot appear in a symbol"));
    }
    if (auto parameter = monosim_param(rest)) {
        return Ostensive{std::move(symbol), Monosim{std::move(*parameter)}, true, std::nullopt, index + 1};
    }
    const std::string_view endo_rest = unicode::trim_end(rest);
    for (const bool mirrored : {true, false}) {
        if (closes_endo_line(endo_rest, episim_symbol(symbol, mirrored) + text.keywords.sigil)) {
            return Ostensive{std::move(symbol), EndoSimmere{}, mirrored, std::nullopt, index + 1};
        }
    }
    return read_para_simmere(text, index, name, std::move(symbol), rest);
}

Result<SimBlock> read_sim_block(const DefinitionText& text, std::size_t open) {
    SimBlock block;
    SimDef& sim = block.sim;
    sim.name = std::string(unicode::trim(text.lines.trimmed(open).substr(text.keywords.sim_open.size())));
    if (!is_valid_name(sim.name)) {
        return text.invalid(open, "sim name " + quoted(sim.name) +
                                      ": letters, digits, and hyphens only, beginning and ending alphanumeric");
    }
    std::size_t first = open + 1;
    while (first < text.lines.size() && text.lines.trimmed(first).empty()) ++first;
    if (first == text.lines.size()) {
        return text.invalid(open + 1, sim_message(sim.name, "missing ostensive definition"));
    }
    auto ostensive = read_ostensive(text, first, sim.name);
    if (!ostensive) return std::move(ostensive).error();
    sim.symbol = std::move(ostensive->symbol);
    sim.form = std::move(ostensive->form);
    sim.mirrored = ostensive->mirrored;
    sim.lemma_vocabulary = std::move(ostensive->lemma_vocabulary);
    auto next = read_properties(text, open, ostensive->next, sim);
    if (!next) return std::move(next).error();
    block.next = *next;
    return block;
}

}  // namespace ilvex
