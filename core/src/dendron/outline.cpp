#include "dendron/outline.hpp"

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
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
void visit_inline(const Inline& item, std::vector<Work>& stack, ReferenceSink& sink) {
    if (const auto* simmere = std::get_if<Inline::EndoSimmere>(&item.node)) {
        if (simmere->suffix.onym) stack.push_back(OnymWork{&*simmere->suffix.onym});
        stack.push_back(InlineWork{&simmere->children});
    } else if (const auto* diaphane = std::get_if<Inline::Diaphane>(&item.node)) {
        stack.push_back(InlineWork{&diaphane->children});
    } else if (const auto* anchor = std::get_if<Inline::OnymAnchor>(&item.node)) {
        sink.onym(anchor->onym);
    } else if (const auto* milestone = std::get_if<Inline::Milestone>(&item.node)) {
        sink.milestone(milestone->scheme, milestone->value);
    } else if (const auto* deixis = std::get_if<Inline::Deixis>(&item.node)) {
        sink.deixis(deixis->symbol, deixis->target);
    }
}

// Hands the references of the work on `stack` to `sink`, in document order,
// and leaves it empty.
void collect_references(std::vector<Work>& stack, ReferenceSink& sink) {
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
            visit_inline(item, stack, sink);
        } else {
            const std::string& onym = *std::get<OnymWork>(top).onym;
            stack.pop_back();
            sink.onym(onym);
        }
    }
}

}  // namespace

struct OutlineBuilder::State {
    State(std::string_view text, const Dialektos& dialektos) : index(text, dialektos) {}

    ReferenceIndex index;
    Outline references;  // the references met, in the order met
    ReferenceSearch search{index, references};
};

OutlineBuilder::OutlineBuilder(std::string_view text, const Dialektos& dialektos)
    : state_(std::make_unique<State>(text, dialektos)) {}

OutlineBuilder::~OutlineBuilder() = default;

void OutlineBuilder::milestone(std::string_view scheme, std::string_view value) {
    std::string key;
    key.reserve(scheme.size() + 1 + value.size());
    key.append(scheme).append(1, ':').append(value);
    state_->search.record(ReferenceKind::Milestone, std::move(key));
}

void OutlineBuilder::onym(std::string_view onym) {
    state_->search.record(ReferenceKind::Onym, std::string(onym));
}

void OutlineBuilder::deixis(std::string_view symbol, std::string_view target) {
    std::string key;
    key.reserve(symbol.size() + target.size() + 2);
    key.append(symbol).append(1, '(').append(target).append(1, ')');
    state_->search.record(ReferenceKind::Deixis, std::move(key));
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
    std::vector<Work> stack{BlockWork{&document.blocks}};
    collect_references(stack, builder);
    return std::move(builder).finish(document.dialektos, std::move(records));
}

}  // namespace ilvex
