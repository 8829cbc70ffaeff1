#include "dialektos/serialization.hpp"

#include <algorithm>
#include <string_view>
#include <tuple>
#include <vector>

#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"

namespace ilvex {
namespace {

void append_line(std::string& out, std::string_view line) {
    out += line;
    out += '\n';
}

std::string_view taxis_part(Occurrence taxis) {
    switch (taxis) {
        case Occurrence::Required: return "(taxis)";
        case Occurrence::Optional: return "[(taxis)]";
        case Occurrence::Absent: break;
    }
    return "";
}

std::string lemma_part(Occurrence lemma, const std::optional<std::string>& vocabulary) {
    switch (lemma) {
        case Occurrence::Required: return vocabulary ? " lemma=" + *vocabulary : " lemma";
        case Occurrence::Optional: return vocabulary ? " [lemma=" + *vocabulary + "]" : " [lemma]";
        case Occurrence::Absent: break;
    }
    return "";
}

std::string_view hypograph_part(Occurrence hypograph) {
    switch (hypograph) {
        case Occurrence::Required: return " hypograph";
        case Occurrence::Optional: return " [hypograph]";
        case Occurrence::Absent: break;
    }
    return "";
}

void append_para_simmere(std::string& out, const SimDef& sim, const ParaSimmere& para) {
    append_line(out, "@" + sim.symbol + std::string(taxis_part(para.taxis)) +
                         lemma_part(para.lemma, sim.lemma_vocabulary));
    if (para.autonym) append_line(out, "autonym");
    append_line(out, para.body == SimBody::Stichos ? "stichos" : "grammata");
    append_line(out, episim_symbol(sim.symbol, sim.mirrored) + "@" + std::string(hypograph_part(para.hypograph)));
}

// A short description is read back trimmed, and one that is empty or begins
// with a double quote would be read as the opener of a long description; one
// space inside each delimiter keeps it a short one.
void append_short_description(std::string& out, const std::string& description) {
    const bool padded = description.empty() || description.front() == '"';
    append_line(out, padded ? "@\" " + description + " \"@" : "@\"" + description + "\"@");
}

bool has_line_trimming_to(std::string_view text, std::string_view closer) {
    std::size_t start = 0;
    while (true) {
        const auto end = text.find('\n', start);
        if (unicode::trim(text.substr(start, end - start)) == closer) return true;
        if (end == std::string_view::npos) return false;
        start = end + 1;
    }
}

// A long description is written between an opener line and a closer line,
// unless one of its lines would read as the closer and end it early; such a
// description came from the one-line form and is written in it.
void append_long_description(std::string& out, const std::string& description) {
    if (has_line_trimming_to(description, "\"\"@")) {
        append_line(out, "@\"\"" + description + "\"\"@");
        return;
    }
    append_line(out, "@\"\"");
    append_line(out, description);
    append_line(out, "\"\"@");
}

void append_sim_block(std::string& out, const SimDef& sim) {
    out += '\n';
    append_line(out, "@=== " + sim.name);
    append_ostensive(out, sim);
    if (sim.genos_vocabulary) append_line(out, "@% " + *sim.genos_vocabulary);
    if (sim.short_description) append_short_description(out, *sim.short_description);
    if (sim.long_description) append_long_description(out, *sim.long_description);
    if (sim.parent) append_line(out, "@^(" + *sim.parent + ")");
    append_line(out, "===@");
}

void append_vocabulary(std::string& out, const std::string& name, const Vocabulary& vocabulary) {
    out += '\n';
    append_line(out, "@==% " + name);
    for (const auto& [term, aliases] : vocabulary) {
        out += term;
        out += ':';
        for (const std::string& alias : aliases) {
            out += ' ';
            out += alias;
        }
        out += '\n';
    }
    append_line(out, "%==@");
}

}  // namespace

void append_ostensive(std::string& out, const SimDef& sim) {
    if (std::holds_alternative<EndoSimmere>(sim.form)) {
        append_line(out, "@" + sim.symbol + " grammata " + episim_symbol(sim.symbol, sim.mirrored) + "@");
    } else if (const auto* monosim = std::get_if<Monosim>(&sim.form)) {
        append_line(out, "@" + sim.symbol + "(" + monosim->parameter + ")");
    } else {
        append_para_simmere(out, sim, std::get<ParaSimmere>(sim.form));
    }
}

std::string serialize_dialektos(const Dialektos& dialektos) {
    std::vector<const SimDef*> sims;
    sims.reserve(dialektos.sims.size());
    for (const auto& entry : dialektos.sims) sims.push_back(&entry.second);
    std::sort(sims.begin(), sims.end(), [](const SimDef* a, const SimDef* b) {
        return std::tie(a->name, a->symbol) < std::tie(b->name, b->symbol);
    });
    std::string out = "@@@!ilvex\n";
    for (const SimDef* sim : sims) append_sim_block(out, *sim);
    for (const auto& [name, vocabulary] : dialektos.vocabularies) append_vocabulary(out, name, vocabulary);
    return out;
}

}  // namespace ilvex
