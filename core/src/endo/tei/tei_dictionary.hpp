// The converters of TEI dictionary entries. An entry becomes one lexigramma
// block: its headword as lemma, its forms, grammar, etymology and usage notes
// as paragraphs of one sim each, its senses as numbered blocks whose running
// text holds definitions, examples, translations and cross-references as
// inline sims. lexigramma is no standard dialektos, so nothing is looked up:
// the symbols are written as they are, and the user's definition gives them
// their meaning.
//
// Every converter starts at the token after an element's start tag and
// answers with the index just after the end tag that closes it. An element
// these converters do not know is transparent: its start tag is passed over
// and its children are read in its place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/tei/tei_context.hpp"
#include "endo/xml/xml_token.hpp"

namespace ilvex {

// The number an entry carries in its "n" attribute: an optional "+", then
// ASCII digits only, within 64 bits; anything else gives none.
std::optional<std::uint64_t> tei_entry_number(std::string_view text);

// The entry (or nested entry such as `re`) whose start tag stands at
// `open`, numbered by its "n" attribute; a self-closing tag is an empty
// entry.
Result<TeiBlock> import_tei_entry_at(TeiContext& context, std::size_t open);

// The "!" block of an entry (or of a nested entry such as `re`) whose
// content starts at `start` and ends at the end tag `close_name`: the
// headword as its lemma (one `Text`, also when empty), taxis `number`.
// With `headword_only`, the block has no children (see below).
Result<TeiBlock> import_tei_entry(TeiContext& context, std::size_t start, std::string_view close_name,
                                  std::optional<std::uint64_t> number, bool headword_only = false);

// import_tei_entry_at read for the headword and number only, much faster:
// its forms are read, the rest of its content passed over; the block has
// no children. Where that content does not nest strictly, a converter might
// end elsewhere than at its end tag, and this fails (as it may where the
// entry's conversion would): the entry must then be converted whole.
Result<TeiBlock> import_tei_entry_headword_at(TeiContext& context, std::size_t open);

// The ":" block of the sense numbered `number` among its siblings.
Result<TeiBlock> import_tei_sense(TeiContext& context, std::size_t start,
                                           std::uint64_t number);

// Reads a form of type `type`: its first lemma orth becomes the headword
// while that is empty, every other orth, pron, hyph and syll a paragraph
// appended to `blocks`. Gives the index after the form's end tag.
Result<std::size_t> import_tei_form(TeiContext& context, std::size_t start, std::string_view type,
                                    std::string& headword, std::vector<Block>& blocks);

// The running text of an element up to its end tag `close_name`, each token
// read by import_tei_dictionary_child, the run's edges trimmed.
Result<TeiInlines> import_tei_mixed_content(TeiContext& context, std::size_t start,
                                                     std::string_view close_name);

// One token of running text at `index`: an element through
// import_tei_sense_element, text as a `Text` of its collapsed white space
// (nothing when blank), an end tag as nothing.
Result<TeiInlines> import_tei_dictionary_child(TeiContext& context, std::size_t index);

// The element whose start tag stands at `index`, as inlines: usage,
// grammar, quotations, citations and cross-references as their sims, any
// other element's content unwrapped, a self-closing tag as nothing.
Result<TeiInlines> import_tei_sense_element(TeiContext& context, std::size_t index);

// A citation of type `type`: its quotes (translations as "'" with their
// language, others as "~") and its bibl or author as a "," sim.
Result<TeiInlines> import_tei_dictionary_cit(TeiContext& context, std::size_t start,
                                                      std::string_view type);

// The genos of a usage type ("geographic" gives geo), or none.
std::optional<std::string> usg_type_genos(std::string_view type);

// A paragraph holding only the sim `symbol` (two characters) with
// `children` and `genoses`, mirrored, without onym.
Block form_sim_node(std::string_view symbol, std::vector<Inline> children,
                    std::vector<std::string> genoses = {});

// The inline sim `symbol` (one character) with `children` and `genoses`,
// mirrored, without onym.
Inline one_char_sim(char symbol, std::vector<Inline> children, std::vector<std::string> genoses = {});

}  // namespace ilvex
