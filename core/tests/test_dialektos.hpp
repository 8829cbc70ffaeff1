// Dialektoi and parser states for tests, built directly in the model so that
// parser tests do not depend on the definition parser.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dialektos/model.hpp"
#include "parser/parser_state.hpp"

namespace ilvex::test {

inline SimDef endo_sim(std::string name, std::string symbol, bool mirrored = true) {
    SimDef sim;
    sim.name = std::move(name);
    sim.symbol = std::move(symbol);
    sim.form = EndoSimmere{};
    sim.mirrored = mirrored;
    return sim;
}

inline SimDef para_sim(std::string name, std::string symbol, ParaSimmere form = {}) {
    SimDef sim;
    sim.name = std::move(name);
    sim.symbol = std::move(symbol);
    sim.form = form;
    return sim;
}

inline SimDef mono_sim(std::string name, std::string symbol, std::string parameter = "onym") {
    SimDef sim;
    sim.name = std::move(name);
    sim.symbol = std::move(symbol);
    sim.form = Monosim{std::move(parameter)};
    return sim;
}

// The sims keyed by their symbols, as resolution leaves them.
inline Dialektos make_dialektos(std::string id, std::vector<SimDef> sims) {
    Dialektos dialektos;
    dialektos.id = std::move(id);
    for (auto& sim : sims) {
        std::string symbol = sim.symbol;
        dialektos.sims.emplace(std::move(symbol), std::move(sim));
    }
    return dialektos;
}

inline ParserState parser_state(bool backslash = false, std::string path = "doc.ild") {
    ParserState state;
    state.path = std::move(path);
    state.backslash = backslash;
    return state;
}

}  // namespace ilvex::test
