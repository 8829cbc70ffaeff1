// The converters of the HTML importer. Each is called with the `Open` of
// its element taken from the tokens, reads the element's content and its
// `Close`, and gives what it built; the first error ends the import.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/error.hpp"
#include "dialektos/result.hpp"
#include "endo/html/html_tokens.hpp"
#include "endo/import_context.hpp"
#include "endo/import_errors.hpp"
#include "endo/placeholder_marks.hpp"
#include "endo/xml/xml_token.hpp"

namespace ilvex {

struct HtmlConverter {
    explicit HtmlConverter(std::string_view text) : tokens(text), context(html_import_error) {}

    Error error(std::string_view message) const { return context.error(message); }
    // "unclosed `<name>`": the tokens end inside the element.
    Error unclosed(std::string_view name) const;
    // "unexpected `</name>`": an end tag that ends no element open here.
    Error unexpected_close(std::string_view name) const;

    HtmlTokens tokens;
    ImportContext context;
    // The em, strong and span elements open around the current point of a
    // strophe.
    std::size_t verse_markup = 0;
};

// How many em, strong and span elements a br may stand in within a
// strophe. Each line of a strophe repeats the markup that a br splits, so
// deeper markup would multiply the document by its depth.
inline constexpr std::size_t max_markup_around_break = 8;

// The next block of the level that the `Close` named `end` ends (the top
// level without one), or nothing once that `Close` (or, at the top level,
// the end of the tokens) has been read.
Result<std::optional<Block>> next_html_block(HtmlConverter& converter, std::optional<std::string_view> end);

// The Para of a list, an ordinary division or a block quotation, which
// holds the element's items or blocks (its children not yet read); nothing
// for any other element, a verse division included.
std::optional<Block::Para> html_block_container(const XmlOpen& open);

// The next item of the ul or ol that `list` opens, `count` items having
// been read, or nothing once the list's `Close` has been read.
Result<std::optional<Block>> next_html_list_item(HtmlConverter& converter, const XmlOpen& list,
                                                 std::uint64_t count);

// All the blocks up to the `Close` named `end`, which is read too.
Result<std::vector<Block>> import_html_blocks(HtmlConverter& converter, std::string_view end);

// The inlines up to the `Close` named `end`, which is read too. With
// `verse`, a br ends a line of a strophe and is kept as a break of the run.
Result<InlineRun> import_html_inlines(HtmlConverter& converter, std::string_view end, bool verse);

// The inlines of the element that `open` opens, one level deeper, up to
// its `Close`; none for an empty-element tag.
Result<InlineRun> import_html_element_inlines(HtmlConverter& converter, const XmlOpen& open, bool verse);

// The verse division that `div` opens, as a `Stichoi` block.
Result<Block> import_html_verse_division(HtmlConverter& converter, const XmlOpen& div, Taxis taxis,
                                         std::vector<std::string> genoses);

}  // namespace ilvex
