#include "parser/inline_scratch.hpp"

#include <variant>

namespace ilvex {
namespace {

// How many spare lists and texts are kept, and how large: enough for the
// blocks of ordinary documents. The storage of a larger one goes: as spares
// circulate, any of them may stand for any list or text of a later block, so
// keeping large ones could pile up the largest storage of the document many
// times over. The spares hold a few megabytes at most.
constexpr std::size_t max_spare_lists = 256;
constexpr std::size_t max_spare_list_capacity = 64;
constexpr std::size_t max_spare_texts = 4096;
constexpr std::size_t max_spare_text_capacity = 512;

// Whether a text is worth keeping as a spare: a short one lives inside the
// string itself, which leaves nothing to reuse.
bool is_spare_text(const std::string& text) {
    return text.capacity() > std::string().capacity() && text.capacity() <= max_spare_text_capacity;
}

}  // namespace

std::vector<Inline> InlineScratch::finish_recycled(Level& level) {
    std::vector<Inline> items = std::move(lists_.back());
    lists_.pop_back();
    items.swap(level.items);
    return items;
}

std::string InlineScratch::spare_text(std::string_view text) {
    std::string spare = std::move(texts_.back());
    texts_.pop_back();
    spare.assign(text);
    return spare;
}

void InlineScratch::take_back(Block& block) {
    if (blocks_before_reuse_ > 0) {
        --blocks_before_reuse_;
        return;
    }
    if (auto* paragraph = std::get_if<Block::Paragraph>(&block.node)) {
        take_back(paragraph->inlines);
    } else if (auto* para = std::get_if<Block::Para>(&block.node)) {
        take_back(para->lemma);
        take_back(para->hypograph);
    } else if (auto* stichoi = std::get_if<Block::Stichoi>(&block.node)) {
        take_back(stichoi->lemma);
        take_back(stichoi->hypograph);
        for (Strophe& strophe : stichoi->strophes) {
            for (std::vector<Inline>& line : strophe) take_back(line);
        }
    }
}

// Nested lists are as deep as the parse that built them, which bounds it.
void InlineScratch::take_back(std::vector<Inline>& list) {
    for (Inline& item : list) {
        if (auto* text = std::get_if<Inline::Text>(&item.node)) {
            if (is_spare_text(text->text) && texts_.size() < max_spare_texts) {
                texts_.push_back(std::move(text->text));
            }
        } else if (auto* simmere = std::get_if<Inline::EndoSimmere>(&item.node)) {
            take_back(simmere->children);
        } else if (auto* diaphane = std::get_if<Inline::Diaphane>(&item.node)) {
            take_back(diaphane->children);
        } else if (auto* axioma = std::get_if<Inline::EndoAxioma>(&item.node)) {
            take_back(axioma->children);
        }
    }
    list.clear();
    if (list.capacity() > 0 && list.capacity() <= max_spare_list_capacity && lists_.size() < max_spare_lists) {
        lists_.push_back(std::move(list));
    }
}

}  // namespace ilvex
