#include "parser/inline_scratch.hpp"

#include <iterator>
#include <variant>

namespace ilvex {
namespace {

// How many spare lists and texts are kept, and how large: enough for the
// blocks of ordinary documents. The storage of a larger one goes: as spares
// circulate, any of them may stand for any list or text of a later block, so
// keeping large ones could pile up the largest storage of the document many
// times over. The spares hold a few megabytes at most.
constexpr std::size_t max_spare_lists = 128;
constexpr std::size_t max_spare_list_capacity = 64;
constexpr std::size_t max_spare_texts = 4096;
constexpr std::size_t max_spare_text_capacity = 256;

// Whether a text is worth keeping as a spare: a short one lives inside the
// string itself, which leaves nothing to reuse.
bool is_spare_text(const std::string& text) {
    return text.capacity() > std::string().capacity() && text.capacity() <= max_spare_text_capacity;
}

// Frees the storage of `list` (as clear() alone would not).
void release(std::vector<Inline>& list) { std::vector<Inline>().swap(list); }

}  // namespace

void InlineScratch::add_text(Level& level, std::string_view text) {
    if (level.used < level.items.size()) {
        Inline& slot = level.items[level.used++];
        // A tree that is kept gets its text at its exact size.
        auto* item = recycling ? std::get_if<Inline::Text>(&slot.node) : nullptr;
        if (item != nullptr) {
            item->text.assign(text);
        } else {
            slot.node = Inline::Text{spare_text(text)};
        }
        return;
    }
    level.items.emplace_back(Inline::Text{spare_text(text)});
    ++level.used;
}

std::vector<Inline> InlineScratch::finish(Level& level) {
    const auto end = level.items.begin() + static_cast<std::ptrdiff_t>(level.used);
    level.used = 0;
    if (!recycling || lists_.empty()) {
        return std::vector<Inline>(std::make_move_iterator(level.items.begin()), std::make_move_iterator(end));
    }
    // The gathered list itself goes, without the items left after it (whose
    // strings are kept), and a spare one takes its place.
    for (auto left = end; left != level.items.end(); ++left) keep_text_of(*left);
    level.items.erase(end, level.items.end());
    std::vector<Inline> items = std::move(lists_.back());
    lists_.pop_back();
    items.swap(level.items);
    return items;
}

std::string InlineScratch::spare_text(std::string_view text) {
    if (texts_.empty()) return std::string(text);
    std::string spare = std::move(texts_.back());
    texts_.pop_back();
    spare.assign(text);
    return spare;
}

void InlineScratch::keep_text_of(Inline& item) {
    auto* text = std::get_if<Inline::Text>(&item.node);
    if (text && is_spare_text(text->text) && texts_.size() < max_spare_texts) texts_.push_back(std::move(text->text));
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

// A list is kept items and all, but only with strings of bounded size: a
// text too large to keep loses its storage, an endo-simmere or a diaphane
// its suffix (their nested lists are taken back on their own), and every
// other item, which may hold a string of any size, becomes an empty text.
// Nested lists are as deep as the parse that built them, which bounds the
// recursion.
void InlineScratch::take_back(std::vector<Inline>& list) {
    if (list.capacity() == 0) return;
    if (list.capacity() > max_spare_list_capacity || lists_.size() >= max_spare_lists) {
        release(list);
        return;
    }
    take_back_items(list);
    // The nested lists may have filled the spares meanwhile.
    if (lists_.size() < max_spare_lists) {
        lists_.push_back(std::move(list));
    } else {
        release(list);
    }
}

void InlineScratch::take_back_items(std::vector<Inline>& list) {
    for (Inline& item : list) {
        if (auto* text = std::get_if<Inline::Text>(&item.node)) {
            if (text->text.capacity() > max_spare_text_capacity) std::string().swap(text->text);
        } else if (auto* simmere = std::get_if<Inline::EndoSimmere>(&item.node)) {
            take_back(simmere->children);
            if (!simmere->suffix.empty()) simmere->suffix = Suffix();
        } else if (auto* diaphane = std::get_if<Inline::Diaphane>(&item.node)) {
            take_back(diaphane->children);
            if (!diaphane->suffix.empty()) diaphane->suffix = Suffix();
        } else {
            if (auto* axioma = std::get_if<Inline::EndoAxioma>(&item.node)) take_back(axioma->children);
            item.node.emplace<Inline::Text>();
        }
    }
}

}  // namespace ilvex
