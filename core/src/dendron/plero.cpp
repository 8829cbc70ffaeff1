#include "dendron/plero.hpp"

#include <variant>

#include "dendron/overloaded.hpp"
#include "dialektos/sim_lookup.hpp"

namespace ilvex {
namespace {

Status localize_lines(std::vector<Strophe>& strophes, const Dialektos& dialektos,
                      std::optional<std::string_view> lang) {
    for (Strophe& strophe : strophes) {
        for (auto& line : strophe) {
            if (auto status = localize_inlines(line, dialektos, lang); !status) return status;
        }
    }
    return {};
}

// The children of an Englossis block were parsed against the dialektos it
// names, so they are named through that one.
Status localize_englossis(Block::Englossis& block, std::optional<std::string_view> lang,
                          const ResolveDialektos& resolve) {
    if (!resolve) return {};
    auto embedded = resolve(block.dialektos);
    if (!embedded) return std::move(embedded).error();
    if (lang && !embedded->glossae.contains(*lang)) lang.reset();
    return localize_blocks(block.children, *embedded, lang, resolve);
}

}  // namespace

Status localize_sim_reference(std::string& symbol, const Dialektos& dialektos, std::optional<std::string_view> lang) {
    const auto sim = dialektos.sims.find(symbol);
    if (sim == dialektos.sims.end()) return Error(ErrorKind::UndefinedSim, symbol);
    std::string_view name = sim->second.name;
    if (lang) {
        if (const auto glossa = dialektos.glossae.find(*lang); glossa != dialektos.glossae.end()) {
            if (const auto entry = glossa->second.find(symbol); entry != glossa->second.end()) name = entry->second;
        }
    }
    const NameLookup named = sim_by_name(dialektos, name);
    if (named.outcome != NameLookup::Outcome::Found || named.sim != &sim->second) {
        return Error(ErrorKind::Other, "sim name `" + std::string(name) + "` is not unambiguously addressable in `" +
                                           dialektos.id + "`");
    }
    symbol = "{" + std::string(name) + "}";
    return {};
}

Status localize_inlines(std::vector<Inline>& inlines, const Dialektos& dialektos,
                        std::optional<std::string_view> lang) {
    for (Inline& item : inlines) {
        Status status = std::visit(
            overloaded{
                [&](Inline::EndoSimmere& x) {
                    if (auto s = localize_sim_reference(x.symbol, dialektos, lang); !s) return s;
                    return localize_inlines(x.children, dialektos, lang);
                },
                [&](Inline::Diaphane& x) { return localize_inlines(x.children, dialektos, lang); },
                [&](Inline::Monosim& x) { return localize_sim_reference(x.symbol, dialektos, lang); },
                [&](Inline::Deixis& x) { return localize_sim_reference(x.symbol, dialektos, lang); },
                // An axioma body keeps its symbols, like text and enlexis.
                [](auto&) { return Status(); },
            },
            item.node);
        if (!status) return status;
    }
    return {};
}

Status localize_blocks(std::vector<Block>& blocks, const Dialektos& dialektos, std::optional<std::string_view> lang,
                       const ResolveDialektos& resolve) {
    for (Block& block : blocks) {
        Status status = std::visit(
            overloaded{
                [&](Block::Paragraph& x) { return localize_inlines(x.inlines, dialektos, lang); },
                [&](Block::Para& x) {
                    Status s = localize_sim_reference(x.symbol, dialektos, lang);
                    if (s) s = localize_inlines(x.lemma, dialektos, lang);
                    if (s) s = localize_blocks(x.children, dialektos, lang, resolve);
                    if (s) s = localize_inlines(x.hypograph, dialektos, lang);
                    return s;
                },
                [&](Block::Stichoi& x) {
                    Status s;
                    if (x.symbol) s = localize_sim_reference(*x.symbol, dialektos, lang);
                    if (s) s = localize_inlines(x.lemma, dialektos, lang);
                    if (s) s = localize_lines(x.strophes, dialektos, lang);
                    if (s) s = localize_inlines(x.hypograph, dialektos, lang);
                    return s;
                },
                [&](Block::Diaphane& x) { return localize_blocks(x.children, dialektos, lang, resolve); },
                [&](Block::Englossis& x) { return localize_englossis(x, lang, resolve); },
                // A ParaAxioma body keeps its symbols; the other kinds hold none.
                [](auto&) { return Status(); },
            },
            block.node);
        if (!status) return status;
    }
    return {};
}

Result<std::string> render_plero(const Document& document, const Dialektos& dialektos,
                                 std::optional<std::string_view> lang, const ResolveDialektos& resolve) {
    if (lang && !dialektos.glossae.contains(*lang)) {
        return Error(ErrorKind::UnresolvedDialektos, dialektos.id + "." + std::string(*lang) + ".glossa");
    }
    Document copy = document;
    if (auto status = localize_blocks(copy.blocks, dialektos, lang, resolve); !status) {
        return std::move(status).error();
    }
    return write_document(copy, &dialektos, resolve);
}

}  // namespace ilvex
