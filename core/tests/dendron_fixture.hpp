// Small builders for document trees and a dialektos whose symbols collide
// the way real ones do (a symbol that is the prefix of another, a monosim
// whose symbol and "(" begin a longer symbol, a para-simmere closed by "|").
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dendron/document.hpp"
#include "dendron/writer.hpp"
#include "dialektos/model.hpp"

namespace ilvex::testing {

inline Inline text(std::string s) { return Inline::Text{std::move(s)}; }

inline Inline endo(std::string symbol, std::vector<Inline> children, Suffix suffix = {}, bool mirrored = true) {
    return Inline::EndoSimmere{std::move(symbol), std::move(children), std::move(suffix), mirrored};
}

inline Inline monosim(std::string symbol, std::string param, Suffix suffix = {}) {
    return Inline::Monosim{std::move(symbol), std::move(param), std::move(suffix)};
}

inline Inline deixis(std::string symbol, std::string target, Suffix suffix = {}) {
    return Inline::Deixis{std::move(symbol), std::move(target), std::move(suffix)};
}

inline Suffix genos(std::string g) { return Suffix{std::nullopt, {std::move(g)}}; }
inline Suffix onym(std::string o) { return Suffix{std::move(o), {}}; }

inline Block paragraph(std::vector<Inline> inlines) { return Block::Paragraph{std::move(inlines)}; }

inline Block para(std::string symbol, std::vector<Inline> lemma, std::vector<Block> children, Suffix suffix = {},
                  std::vector<Inline> hypograph = {}, Taxis taxis = {}, bool mirrored = true) {
    return Block::Para{mirrored,         std::move(symbol),    std::move(lemma), std::move(children),
                       std::move(hypograph), std::move(suffix), taxis};
}

inline Block verse(std::string symbol, std::vector<Strophe> strophes, std::vector<Inline> lemma = {},
                   std::vector<Inline> hypograph = {}, Suffix suffix = {}) {
    return Block::Stichoi{true, std::move(symbol), std::move(lemma), std::move(strophes), std::move(hypograph),
                          std::move(suffix), {}};
}

inline void add_sim(Dialektos& d, std::string name, std::string symbol, SimForm form, bool mirrored = true) {
    SimDef sim;
    sim.name = std::move(name);
    sim.symbol = symbol;
    sim.form = std::move(form);
    sim.mirrored = mirrored;
    d.sims.emplace(std::move(symbol), std::move(sim));
}

inline ParaSimmere grammata(Occurrence taxis = Occurrence::Absent, Occurrence lemma = Occurrence::Optional) {
    return ParaSimmere{SimBody::Grammata, false, taxis, lemma, Occurrence::Optional};
}

inline Dialektos fixture() {
    Dialektos d;
    d.id = "fixture";
    add_sim(d, "section", "#", grammata(Occurrence::Optional));
    add_sim(d, "aside", "|", grammata());
    add_sim(d, "footnote", "^", grammata(Occurrence::Optional));
    add_sim(d, "dialogue", ":", grammata());
    add_sim(d, "verse", "~", ParaSimmere{SimBody::Stichos, false, Occurrence::Optional, Occurrence::Optional,
                                         Occurrence::Optional});
    add_sim(d, "stage", ":(", EndoSimmere{});
    add_sim(d, "strong", "*", EndoSimmere{});
    add_sim(d, "break", "**", EndoSimmere{});
    add_sim(d, "strong-emphasis", "*/", EndoSimmere{});
    add_sim(d, "emphasis", "/", EndoSimmere{});
    add_sim(d, "title", "=", EndoSimmere{});
    add_sim(d, "ref", ">", Monosim{"onym"});
    add_sim(d, "heading-ref", ">>", Monosim{"onym"});
    add_sim(d, "paren", "(", EndoSimmere{});
    return d;
}

// The text of the given blocks, without the declaration.
inline std::string body(std::vector<Block> blocks, const Dialektos* dialektos = nullptr) {
    const std::string out = write_document(Document{"t", std::nullopt, std::move(blocks)}, dialektos);
    const std::string head = "@@@!t\n\n";
    return out.starts_with(head) ? out.substr(head.size()) : "<no blocks> " + out;
}

// The text of one paragraph of the given inlines, without its final "\n".
inline std::string line(std::vector<Inline> inlines, const Dialektos* dialektos = nullptr) {
    std::string out = body({paragraph(std::move(inlines))}, dialektos);
    if (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

}  // namespace ilvex::testing
