// TEI block structure as litogramma blocks: divisions with their heading
// levels, paragraphs, quotations, lists, notes, figures, tables, cast lists,
// and the hand-over of speeches and verse to the drama and verse converters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dialektos/result.hpp"
#include "endo/tei/tei_context.hpp"

namespace ilvex {

// The blocks of the content from `start` up to the end tag named `close`.
// `level` is the division level of the enclosing context (0 for a body or
// an argument): an untyped division met here gets the next level, at most
// 5. A head that does not head its division is an annotation with genos
// head. Fails with "unsupported <token> at block level", "bare text at block
// level: `<text>`", "unterminated <close>" and the messages of the
// converters of its elements.
Result<TeiBlocks> import_tei_blocks(TeiContext& context, std::size_t start, std::string_view close,
                                    std::size_t level);

// Where the blocks of a prose body go as they are read: each block of the
// body, and each division under a heading in pieces (opened with its
// heading, then its own blocks, then closed).
class TeiBlockStream {
public:
    virtual void block(Block&& block) = 0;
    virtual void open(Block&& division) = 0;
    virtual void close() = 0;

protected:
    ~TeiBlockStream() = default;
};

// import_tei_blocks of a body at level 0 whose blocks go to `stream` as soon
// as they are read, the tokens before them let go: a body is never held
// whole, nor is a division under a heading. Gives the index after the end
// tag `close`.
Result<std::size_t> stream_tei_blocks(TeiContext& context, std::size_t start, std::string_view close,
                                      TeiBlockStream& stream);

// Content that may be blocks or running text, from `start` up to the end tag
// named `close`: blocks when it begins (past blank text and milestones) with
// an lg, l or p; otherwise one paragraph of the text and its note bodies.
Result<TeiBlocks> import_tei_content_blocks(TeiContext& context, std::size_t start, std::string_view close);

// import_tei_content_blocks of the element whose start tag stands at
// `open`: one empty paragraph when the tag is self-closing.
Result<TeiBlocks> tei_element_content_blocks(TeiContext& context, std::size_t open);

// The "+" table from `start` (after the table's start tag) to its end tag:
// its head the lemma, one line per row with the plain text of its cells
// between bars. Fails with "unsupported <token> in <row>", "unsupported
// <token> in <table>" and "unterminated <table>".
Result<TeiBlock> import_tei_table(TeiContext& context, std::size_t start);

// A type word as a genos list: the word ASCII-lower-cased when that is a
// valid genos, else no genos.
std::vector<std::string> lowercase_name_list(std::string_view text);

}  // namespace ilvex
