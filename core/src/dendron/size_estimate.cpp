#include "dendron/size_estimate.hpp"

#include <variant>

#include "dendron/overloaded.hpp"

namespace ilvex {
namespace {

struct SizeEstimate {
    static constexpr std::size_t per_node = 16;
    std::size_t total = 0;

    void add(const Suffix& suffix) {
        total += suffix.onym ? suffix.onym->size() + 2 : 0;
        for (const auto& genos : suffix.genoses) total += genos.size() + 1;
    }
    void add(const std::vector<Inline>& list) {
        for (const Inline& item : list) {
            total += per_node;
            std::visit(overloaded{
                           [&](const Inline::Text& x) { total += x.text.size(); },
                           [&](const Inline::EndoSimmere& x) { total += 2 * x.symbol.size(); add(x.children); add(x.suffix); },
                           [&](const Inline::Enlexis& x) { total += x.text.size(); add(x.suffix); },
                           [&](const Inline::Diaphane& x) { add(x.children); add(x.suffix); },
                           [&](const Inline::Monosim& x) { total += x.symbol.size() + x.param.size(); add(x.suffix); },
                           [&](const Inline::OnymAnchor& x) { total += x.onym.size(); },
                           [&](const Inline::Milestone& x) { total += x.scheme.size() + x.value.size(); add(x.suffix); },
                           [&](const Inline::Deixis& x) { total += x.symbol.size() + x.target.size(); add(x.suffix); },
                           [&](const Inline::EndoAxioma& x) { total += x.onym.size(); add(x.children); },
                           [&](const Inline::AxiomaReference& x) { total += x.onym.size(); },
                       },
                       item.node);
        }
    }
    void add(const std::vector<Block>& list) {
        for (const Block& block : list) {
            total += per_node;
            std::visit(overloaded{
                           [&](const Block::Paragraph& x) { add(x.inlines); },
                           [&](const Block::Para& x) {
                               total += 2 * x.symbol.size();
                               add(x.lemma);
                               add(x.children);
                               add(x.hypograph);
                               add(x.suffix);
                           },
                           [&](const Block::Stichoi& x) {
                               total += x.symbol ? 2 * x.symbol->size() : 0;
                               add(x.lemma);
                               for (const Strophe& strophe : x.strophes) {
                                   for (const auto& line : strophe) add(line);
                               }
                               add(x.hypograph);
                               add(x.suffix);
                           },
                           [&](const Block::Diaphane& x) { add(x.children); add(x.suffix); },
                           [&](const Block::MonadEnlexis& x) { total += x.text.size(); add(x.suffix); },
                           [&](const Block::Englossis& x) { total += x.dialektos.size(); add(x.children); add(x.suffix); },
                           [&](const Block::Enmedia& x) { total += x.param.size(); },
                           [&](const Block::EnmediaDigest& x) { total += x.digest.size(); },
                           [&](const Block::Anaphor& x) { total += x.param.size(); },
                           [&](const Block::AnaphorEnlexis& x) { total += x.param.size(); },
                           [&](const Block::ParaAxioma& x) { total += x.onym.size(); add(x.children); },
                           [&](const Block::AxiomaReference& x) { total += x.onym.size(); },
                       },
                       block.node);
        }
    }
};

}  // namespace

std::size_t estimated_text_size(const Document& document) {
    SizeEstimate estimate;
    estimate.add(document.blocks);
    return document.dialektos.size() + (document.version ? document.version->size() : 0) + SizeEstimate::per_node +
           estimate.total;
}

}  // namespace ilvex
