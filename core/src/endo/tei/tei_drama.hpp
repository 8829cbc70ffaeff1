// TEI drama: speeches with their speakers, in verse or in prose, and
// direct speech.
#pragma once

#include <cstddef>

#include "dialektos/result.hpp"
#include "endo/tei/tei_context.hpp"

namespace ilvex {

// The speech whose content starts at `start` (after the sp start tag):
// a verse speech, every line of it in one strophe of a ":~" block (with a
// speaker) or a "~" block, or a prose speech, a ":" block around its
// content (with a speaker) or the content itself; then the note bodies.
// `level` is the division level of the enclosing walk. Fails with
// "unsupported <token> in a verse speech" and "unterminated <sp>".
Result<TeiBlocks> import_tei_speech(TeiContext& context, std::size_t start, std::size_t level);

// The said whose start tag stands at `open`: a ":" block whose lemma is its
// label or speaker, or a diaphane without either. Goes on past its end tag,
// blank text and an end tag of p that follows at once.
Result<TeiBlock> import_tei_said(TeiContext& context, std::size_t open);

// Whether the said whose start tag stands at `open` is followed, after its
// own end tag and blank text, by an end tag of p.
bool tei_said_in_p(const TeiContext& context, std::size_t open);

}  // namespace ilvex
