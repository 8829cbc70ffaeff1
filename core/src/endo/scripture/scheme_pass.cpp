#include "endo/scripture/scheme_pass.hpp"

#include <algorithm>
#include <utility>
#include <variant>

#include "dendron/overloaded.hpp"
#include "dialektos/lexical.hpp"
#include "dialektos/unicode.hpp"
#include "endo/scripture/scripture_blocks.hpp"

namespace ilvex {
namespace {

template <class Found>
bool any_inline(const Found& found, const std::vector<Inline>& inlines);
template <class Found>
bool any_block(const Found& found, const std::vector<Block>& blocks);

// Whether a milestone for which `found` holds stands inside the inline.
template <class Found>
bool inline_holds(const Found& found, const Inline& item) {
    return std::visit(overloaded{
                          [&](const Inline::EndoSimmere& x) { return any_inline(found, x.children); },
                          [&](const Inline::Diaphane& x) { return any_inline(found, x.children); },
                          [&](const Inline::Milestone& x) { return found(x); },
                          [](const auto&) { return false; },
                      },
                      item.node);
}

template <class Found>
bool block_holds(const Found& found, const Block& block) {
    return std::visit(overloaded{
                          [&](const Block::Paragraph& x) { return any_inline(found, x.inlines); },
                          [&](const Block::Para& x) {
                              return any_inline(found, x.lemma) || any_block(found, x.children) ||
                                     any_inline(found, x.hypograph);
                          },
                          [&](const Block::Stichoi& x) {
                              if (any_inline(found, x.lemma)) return true;
                              for (const Strophe& strophe : x.strophes) {
                                  for (const std::vector<Inline>& line : strophe) {
                                      if (any_inline(found, line)) return true;
                                  }
                              }
                              return any_inline(found, x.hypograph);
                          },
                          [&](const Block::Diaphane& x) { return any_block(found, x.children); },
                          [&](const Block::Englossis& x) { return any_block(found, x.children); },
                          [](const auto&) { return false; },
                      },
                      block.node);
}

template <class Found>
bool any_inline(const Found& found, const std::vector<Inline>& inlines) {
    return std::any_of(inlines.begin(), inlines.end(), [&](const Inline& item) { return inline_holds(found, item); });
}

template <class Found>
bool any_block(const Found& found, const std::vector<Block>& blocks) {
    return std::any_of(blocks.begin(), blocks.end(), [&](const Block& block) { return block_holds(found, block); });
}

bool is_movable(const Inline::Milestone& milestone) {
    return milestone.scheme == "page" || milestone.scheme == "section";
}

// A milestone of the scheme in place of `item`, when the reference can be
// written as a milestone value.
void replace_by_milestone(Inline& item, std::string_view scheme, std::string reference) {
    if (!is_valid_onym(reference)) return;
    item = Inline::Milestone{std::string(scheme), std::move(reference), {}};
}

void join(std::string& out, std::string_view part) {
    out += '.';
    out += part;
}

void rewrite_monosim(Inline& item, const Inline::Monosim& mark, const SchemeWalk& walk, std::string_view book,
                     std::string& chapter) {
    std::string reference(book);
    if (mark.symbol == verse_symbol) {
        join(reference, chapter);
        join(reference, mark.param);
    } else if (mark.symbol == chapter_symbol) {
        chapter = mark.param;
        join(reference, chapter);
    } else {
        return;
    }
    replace_by_milestone(item, walk.scheme, std::move(reference));
}

void move_milestone(Inline::Milestone& milestone, const SchemeWalk& walk) {
    if (!walk.move_pages_and_sections || !is_movable(milestone)) return;
    milestone.suffix.genoses.assign(1, std::move(milestone.scheme));
    milestone.scheme = std::string(walk.scheme);
}

}  // namespace

bool inlines_have_milestone_scheme(std::string_view scheme, const Inline& item) {
    return inline_holds([&](const Inline::Milestone& x) { return x.scheme == scheme; }, item);
}

bool blocks_have_milestone_scheme(std::string_view scheme, const Block& block) {
    return block_holds([&](const Inline::Milestone& x) { return x.scheme == scheme; }, block);
}

std::string book_of(const std::vector<Inline>& lemma) {
    std::string book;
    for (const Inline& item : lemma) {
        if (const auto* text = std::get_if<Inline::Text>(&item.node)) book += text->text;
    }
    return std::string(unicode::trim(book));
}

MilestonesFound find_milestones(std::string_view scheme, const Block& block) {
    MilestonesFound found;
    block_holds(
        [&](const Inline::Milestone& x) {
            found.of_scheme = found.of_scheme || x.scheme == scheme;
            found.movable = found.movable || is_movable(x);
            return found.of_scheme && found.movable;  // nothing more to learn
        },
        block);
    return found;
}

void apply_scheme_inlines(std::vector<Inline>& inlines, const SchemeWalk& walk, std::string_view book,
                          std::string& chapter) {
    for (Inline& item : inlines) {
        if (auto* x = std::get_if<Inline::EndoSimmere>(&item.node)) {
            apply_scheme_inlines(x->children, walk, book, chapter);
        } else if (auto* x = std::get_if<Inline::Monosim>(&item.node)) {
            rewrite_monosim(item, *x, walk, book, chapter);
        } else if (auto* x = std::get_if<Inline::Milestone>(&item.node)) {
            move_milestone(*x, walk);
        }
    }
}

void apply_scheme_block(Block& block, const SchemeWalk& walk, std::string_view book, std::string& chapter) {
    if (auto* x = std::get_if<Block::Paragraph>(&block.node)) {
        apply_scheme_inlines(x->inlines, walk, book, chapter);
    } else if (auto* x = std::get_if<Block::Para>(&block.node)) {
        if (x->symbol == book_symbol) {
            std::string book_chapter;
            apply_scheme_blocks(x->children, walk, book_of(x->lemma), book_chapter);
        } else {
            apply_scheme_blocks(x->children, walk, book, chapter);
        }
    } else if (auto* x = std::get_if<Block::Stichoi>(&block.node)) {
        for (Strophe& strophe : x->strophes) {
            for (std::vector<Inline>& line : strophe) apply_scheme_inlines(line, walk, book, chapter);
        }
    } else if (auto* x = std::get_if<Block::Diaphane>(&block.node)) {
        apply_scheme_blocks(x->children, walk, book, chapter);
    }
}

void apply_scheme_blocks(std::vector<Block>& blocks, const SchemeWalk& walk, std::string_view book,
                         std::string& chapter) {
    for (Block& block : blocks) apply_scheme_block(block, walk, book, chapter);
}

void apply_scheme(Document& document, std::string_view scheme) {
    const bool exists = std::any_of(document.blocks.begin(), document.blocks.end(),
                                    [&](const Block& block) { return blocks_have_milestone_scheme(scheme, block); });
    const SchemeWalk walk{scheme, !exists};
    std::string chapter;
    apply_scheme_blocks(document.blocks, walk, "", chapter);
}

}  // namespace ilvex
