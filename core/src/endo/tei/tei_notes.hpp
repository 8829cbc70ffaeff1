// TEI notes: the body of a note, and the callout and footnote block that a
// note makes where it stands.
#pragma once

#include <cstddef>
#include <optional>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/tei/tei_context.hpp"

namespace ilvex {

// The blocks of a note's body, from `start` (after the note's start tag) to
// its end tag: its leading p, span and lg elements one block each (blank
// text between them passed over), then the rest as one paragraph of running
// text. A body that gives nothing is one empty paragraph. Fails with
// "unterminated <note>".
Result<TeiBlocks> import_tei_note_body(TeiContext& context, std::size_t start);

// A numbered note: its deixis callout and its footnote block.
struct TeiNote {
    Inline callout;
    // Nothing for a note with no content where empty notes leave no trace.
    std::optional<Block> footnote;
    std::size_t next = 0;
};

// Numbers the note whose content starts at `start` and converts its body.
// Unless `keep_empty`, a note whose body holds no text gives no footnote and
// hands its number back.
Result<TeiNote> import_tei_note(TeiContext& context, std::size_t start, bool keep_empty = false);

}  // namespace ilvex
