// TEI running text (the inside of paragraphs, heads, lines, items, titles)
// as litogramma inlines: emphasis, annotations, quotations, stage
// directions, references and links, milestones, note callouts. A note met
// here also gives its footnote block, handed back beside the inlines.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "dialektos/error.hpp"
#include "dialektos/result.hpp"
#include "endo/tei/tei_context.hpp"

namespace ilvex {

// The content from `start` up to the end tag named `close`. Fails with
// "unterminated <close>", with "unsupported <token> inline (near: "...<text>")"
// for an element or end tag it does not read, and with the messages of the
// inline list, choice, verse quotation and note converters.
Result<TeiInlines> import_tei_inlines(TeiContext& context, std::size_t start, std::string_view close);

// The content of the element whose start tag stands at `open`: nothing,
// with the index after the tag, when the tag is self-closing.
Result<TeiInlines> tei_element_inlines(TeiContext& context, std::size_t open);

// The content of the element at `open` for a place that keeps no note
// bodies: the callouts go with their bodies, and the numbers they took are
// given back, so no callout points at a missing note.
Result<TeiInlines> tei_element_inlines_without_notes(TeiContext& context, std::size_t open);

// Drops the note bodies of `content`, converted while the note counter went
// from `notes_before` to its present value, with their callouts.
void drop_tei_notes(TeiContext& context, TeiInlines& content, std::uint64_t notes_before);

// "tei import: unterminated <name>", kind MissingResource.
Error tei_unterminated_error(std::string_view name);

// Whether the last character of `text` is white space (false when empty).
bool ends_with_whitespace(std::string_view text);

}  // namespace ilvex
