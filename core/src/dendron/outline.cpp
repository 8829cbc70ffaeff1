#include "dendron/outline.hpp"

#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>
#include <variant>

#include "dendron/reference_index.hpp"

namespace ilvex {
namespace {

// The shared forward cursor over the lines and the lists it fills.
struct ReferenceSearch {
    const ReferenceIndex& index;
    Outline& outline;
    std::uint64_t cursor = 0;  // 0-based line index

    void record(ReferenceKind kind, std::string key) {
        std::uint64_t line = 0;
        if (const auto found = index.first_line(kind, key, cursor)) {
            cursor = *found;
            line = *found + 1;
        }
        list(kind).push_back({std::move(key), line});
    }

    std::vector<OutlineEntry>& list(ReferenceKind kind) {
        switch (kind) {
            case ReferenceKind::Milestone: return outline.milestones;
            case ReferenceKind::Onym: return outline.onyms;
            case ReferenceKind::Deixis: return outline.deixes;
        }
        return outline.deixes;
    }
};

// The walk keeps its own stack of pending work instead of recursing, so a
// deeply nested tree cannot exhaust the call stack. Work is pushed in reverse
// so that it comes off in document order.
struct BlockWork {
    const std::vector<Block>* blocks;
    std::size_t next = 0;
};
struct InlineWork {
    const std::vector<Inline>* inlines;
    std::size_t next = 0;
};
// The onym of an EndoSimmere's suffix, recorded after its children, where its
// closer stands.
struct OnymWork {
    const std::string* onym;
};
using Work = std::variant<BlockWork, InlineWork, OnymWork>;

// The parts of a block that hold references: a ParaAxioma body and the text
// of a MonadEnlexis are not entered.
void push_block_parts(const Block& block, std::vector<Work>& stack) {
    if (const auto* paragraph = std::get_if<Block::Paragraph>(&block.node)) {
        stack.push_back(InlineWork{&paragraph->inlines});
    } else if (const auto* para = std::get_if<Block::Para>(&block.node)) {
        stack.push_back(InlineWork{&para->hypograph});
        stack.push_back(BlockWork{&para->children});
        stack.push_back(InlineWork{&para->lemma});
    } else if (const auto* stichoi = std::get_if<Block::Stichoi>(&block.node)) {
        stack.push_back(InlineWork{&stichoi->hypograph});
        for (auto strophe = stichoi->strophes.rbegin(); strophe != stichoi->strophes.rend(); ++strophe) {
            for (auto line = strophe->rbegin(); line != strophe->rend(); ++line) {
                stack.push_back(InlineWork{&*line});
            }
        }
        stack.push_back(InlineWork{&stichoi->lemma});
    } else if (const auto* diaphane = std::get_if<Block::Diaphane>(&block.node)) {
        stack.push_back(BlockWork{&diaphane->children});
    } else if (const auto* englossis = std::get_if<Block::Englossis>(&block.node)) {
        stack.push_back(BlockWork{&englossis->children});
    }
}

// Records the references an inline item is, and pushes the children it
// holds. The suffix onyms of inline diaphanes, enlexeis, monosims and deixes
// are not references, and an EndoAxioma body is not entered.
void visit_inline(const Inline& item, std::vector<Work>& stack, ReferenceSearch& search) {
    if (const auto* simmere = std::get_if<Inline::EndoSimmere>(&item.node)) {
        if (simmere->suffix.onym) stack.push_back(OnymWork{&*simmere->suffix.onym});
        stack.push_back(InlineWork{&simmere->children});
    } else if (const auto* diaphane = std::get_if<Inline::Diaphane>(&item.node)) {
        stack.push_back(InlineWork{&diaphane->children});
    } else if (const auto* anchor = std::get_if<Inline::OnymAnchor>(&item.node)) {
        search.record(ReferenceKind::Onym, anchor->onym);
    } else if (const auto* milestone = std::get_if<Inline::Milestone>(&item.node)) {
        search.record(ReferenceKind::Milestone, milestone->scheme + ":" + milestone->value);
    } else if (const auto* deixis = std::get_if<Inline::Deixis>(&item.node)) {
        search.record(ReferenceKind::Deixis, deixis->symbol + "(" + deixis->target + ")");
    }
}

// Records the references of the work on `stack`, in document order, and
// leaves it empty.
void collect_references(std::vector<Work>& stack, ReferenceSearch& search) {
    while (!stack.empty()) {
        Work& top = stack.back();
        if (auto* work = std::get_if<BlockWork>(&top)) {
            if (work->next == work->blocks->size()) {
                stack.pop_back();
                continue;
            }
            const Block& block = (*work->blocks)[work->next++];
            push_block_parts(block, stack);
        } else if (auto* work = std::get_if<InlineWork>(&top)) {
            if (work->next == work->inlines->size()) {
                stack.pop_back();
                continue;
            }
            const Inline& item = (*work->inlines)[work->next++];
            visit_inline(item, stack, search);
        } else {
            const std::string& onym = *std::get<OnymWork>(top).onym;
            stack.pop_back();
            search.record(ReferenceKind::Onym, onym);
        }
    }
}

}  // namespace

struct OutlineBuilder::State {
    State(std::string_view text, const Dialektos& dialektos) : index(text, dialektos) {}

    ReferenceIndex index;
    Outline references;  // the references met, in the order met
    ReferenceSearch search{index, references};
    std::vector<bool> axioma_bodies;  // for each body open, whether it is an axioma's
    // The walk's stack, empty between blocks; kept for its storage.
    std::vector<Work> pending;
};

OutlineBuilder::OutlineBuilder(std::string_view text, const Dialektos& dialektos)
    : state_(std::make_unique<State>(text, dialektos)) {}

OutlineBuilder::~OutlineBuilder() = default;

bool OutlineBuilder::in_axioma() const {
    return !state_->axioma_bodies.empty() && state_->axioma_bodies.back();
}

void OutlineBuilder::block(const Block& block) {
    if (in_axioma()) return;
    push_block_parts(block, state_->pending);
    collect_references(state_->pending, state_->search);
}

void OutlineBuilder::open(const Block& container) {
    const bool axioma = in_axioma() || std::holds_alternative<Block::ParaAxioma>(container.node);
    if (!axioma) {
        if (const auto* para = std::get_if<Block::Para>(&container.node)) {
            state_->pending.push_back(InlineWork{&para->lemma});
            collect_references(state_->pending, state_->search);
        }
    }
    state_->axioma_bodies.push_back(axioma);
}

void OutlineBuilder::close(const Block& container) {
    state_->axioma_bodies.pop_back();
    if (in_axioma()) return;
    if (const auto* para = std::get_if<Block::Para>(&container.node)) {
        state_->pending.push_back(InlineWork{&para->hypograph});
        collect_references(state_->pending, state_->search);
    }
}

Outline OutlineBuilder::finish(std::string dialektos, OutlineRecords records) && {
    records.sort_by_lines();
    Outline outline{std::move(dialektos), std::move(records), {}, {}, {}};
    Outline& references = state_->references;
    // Block onyms stand on their closing lines, which the records know; the
    // inline ones follow.
    std::size_t block_onyms = 0;
    for (std::size_t i = 0; i < outline.blocks.size(); ++i) block_onyms += outline.blocks.packed(i).has_onym;
    outline.onyms.reserve(block_onyms + references.onyms.size());
    for (std::size_t i = 0; i < outline.blocks.size(); ++i) {
        const OutlineRecords::Packed& block = outline.blocks.packed(i);
        if (const auto onym = outline.blocks.onym(block)) outline.onyms.push_back({std::string(*onym), block.end});
    }
    std::move(references.onyms.begin(), references.onyms.end(), std::back_inserter(outline.onyms));
    outline.milestones = std::move(references.milestones);
    outline.deixes = std::move(references.deixes);
    return outline;
}

Outline build_outline(const Document& document, OutlineRecords records,
                      std::string_view text, const Dialektos& dialektos) {
    OutlineBuilder builder(text, dialektos);
    for (const Block& block : document.blocks) builder.block(block);
    return std::move(builder).finish(document.dialektos, std::move(records));
}

}  // namespace ilvex
