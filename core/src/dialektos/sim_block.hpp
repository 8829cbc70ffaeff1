// Sim blocks: the opening line with the sim's name, the ostensive definition
// that shows the sim by example, the property lines, and the closing line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "dialektos/definition_text.hpp"
#include "dialektos/model.hpp"
#include "dialektos/result.hpp"

namespace ilvex {

// The parameter name of a monosim tail "(name)": ASCII letters, digits and
// "-", at least one, never "taxis". Trailing White_Space is ignored; anything
// else gives no parameter.
std::optional<std::string> monosim_param(std::string_view text);

// What an ostensive definition fixes about a sim.
struct Ostensive {
    std::string symbol;
    SimForm form;
    bool mirrored = true;
    std::optional<std::string> lemma_vocabulary;
    std::size_t next = 0;  // the line after the ostensive definition
};

// Reads the ostensive definition that begins at line `index` of the sim
// named `name`.
Result<Ostensive> read_ostensive(const DefinitionText& text, std::size_t index,
                                 std::string_view name);

struct SimBlock {
    SimDef sim;
    std::size_t next = 0;  // the line after the closing line
};

// Reads the sim block opened at line `open`. Storing the sim, and refusing a
// symbol the dialektos already has, is the caller's part.
Result<SimBlock> read_sim_block(const DefinitionText& text, std::size_t open);

}  // namespace ilvex
