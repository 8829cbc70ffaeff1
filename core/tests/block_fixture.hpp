// A hand-built dialektos and a parse helper shared by the block parser tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "dialektos/error.hpp"
#include "dialektos/model.hpp"
#include "parser/block_parser.hpp"
#include "parser/declaration.hpp"

namespace ilvex::fixture {

inline SimDef para_sim(std::string name, std::string symbol, SimBody body, Occurrence taxis,
                       Occurrence lemma, Occurrence hypograph, bool mirrored = true) {
    SimDef sim;
    sim.name = std::move(name);
    sim.symbol = std::move(symbol);
    sim.form = ParaSimmere{body, false, taxis, lemma, hypograph};
    sim.mirrored = mirrored;
    return sim;
}

// Sims by what they allow:
//   "#" section, "<" quote (closed by ">@"), "[[" box (unmirrored, closed
//   by "[[@"): grammata, everything optional;
//   "§" paragraphos: grammata, taxis and lemma optional, no hypograph;
//   "%" strict: grammata, taxis, lemma and hypograph required;
//   "&" bare: grammata, none of the three;
//   "~" verse: stichos, lemma and hypograph optional, no taxis;
//   "*" strong: endo-simmere; "$" ref: monosim.
inline Dialektos sample_dialektos() {
    using enum Occurrence;
    Dialektos d;
    d.id = "sample";
    auto add = [&](SimDef sim) { d.sims.emplace(sim.symbol, std::move(sim)); };
    add(para_sim("section", "#", SimBody::Grammata, Optional, Optional, Optional));
    add(para_sim("quote", "<", SimBody::Grammata, Optional, Optional, Optional));
    add(para_sim("box", "[[", SimBody::Grammata, Optional, Optional, Optional, false));
    add(para_sim("paragraphos", "§", SimBody::Grammata, Optional, Optional, Absent));
    add(para_sim("strict", "%", SimBody::Grammata, Required, Required, Required));
    add(para_sim("bare", "&", SimBody::Grammata, Absent, Absent, Absent));
    add(para_sim("verse", "~", SimBody::Stichos, Absent, Optional, Optional));
    SimDef strong;
    strong.name = "strong";
    strong.symbol = "*";
    strong.form = EndoSimmere{};
    add(strong);
    SimDef ref;
    ref.name = "ref";
    ref.symbol = "$";
    ref.form = ilvex::Monosim{"target"};
    add(ref);
    return d;
}

struct ParsedBlocks {
    std::vector<Block> blocks;
    OutlineRecords records;
};

// Reads the declaration as the document parser does, then parses the
// blocks against `dialektos` instead of a resolved one.
inline Result<ParsedBlocks> parse_with(const Dialektos& dialektos, std::string_view text) {
    auto prepared = prepare_document(text, "doc.ild");
    if (!prepared) return std::move(prepared).error();
    ParserState& state = prepared->state;
    state.collect_records = true;
    auto blocks = parse_blocks(state, dialektos, std::nullopt);
    if (!blocks) return std::move(blocks).error();
    EXPECT_EQ(state.depth, 0u);
    return ParsedBlocks{std::move(blocks).value(), std::move(state.records)};
}

inline Result<ParsedBlocks> parse_sample(std::string_view text) {
    return parse_with(sample_dialektos(), text);
}

// The error text of a parse, or "ok".
inline std::string outcome(std::string_view text) {
    auto parsed = parse_sample(text);
    return parsed ? "ok" : error_message(parsed.error());
}

inline std::vector<BlockKind> kinds(const std::vector<Block>& blocks) {
    std::vector<BlockKind> out;
    for (const Block& block : blocks) out.push_back(block.kind());
    return out;
}

// The blocks of a sample document, failing the test on an error.
inline std::vector<Block> blocks_of(std::string_view text) {
    auto parsed = parse_sample(text);
    if (!parsed) {
        ADD_FAILURE() << text << "\n  -> " << error_message(parsed.error());
        return {};
    }
    return std::move(parsed->blocks);
}

inline std::vector<Inline> text_inlines(std::string text) {
    return {Inline::Text{std::move(text)}};
}

}  // namespace ilvex::fixture
