// The writer: a document tree as text in the '@' sigil, in brachygraphic
// spelling (or plerographic, when the tree's sim symbols are "{name}").
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dendron/flat_inlines.hpp"
#include "dialektos/model.hpp"
#include "dialektos/result.hpp"

namespace ilvex {

class ParagraphLineWriter;
class SimNames;

// Resolves the dialektos that an Englossis block names, by its id.
using ResolveDialektos = std::function<Result<Dialektos>(std::string_view id)>;

// Takes written text in pieces, in order.
using TextSink = std::function<void(std::string_view piece)>;

// The text of `document`. Its separators and escapes make the text parse
// back to the same tree. Given the dialektos the tree's sims come from (and,
// through `resolve`, the dialektoi of its Englossis blocks), the writer also
// spells each sim so that the parser finds that same sim again: where a
// symbol would run on into the symbol characters after it, an endo-simmere
// gets an empty comment after its symbol and any other sim is written
// "{name}". Without them, symbols are written as they are. Never fails.
std::string write_document(const Document& document, const Dialektos* dialektos = nullptr,
                           const ResolveDialektos& resolve = {});

// write_document for a caller that has the blocks one at a time: given the
// declaration first and then each top-level block in order, it writes the
// same text, so no block needs to be kept once written. A block with a body
// (Para, Diaphane, Englossis, ParaAxioma) may also come in pieces: `open`
// with the block before its children, each child through `block` (or in
// pieces itself), then `close` with the block (its children are not read).
class DocumentWriter {
public:
    // `expected_size` reserves the output once (the size of the source text
    // is a good guess). With a `sink`, the text goes there in pieces of some
    // tens of kilobytes between blocks, for a caller that assembles it in a
    // buffer of its own, and finish() gives nothing: the text is never held
    // whole twice.
    DocumentWriter(std::string_view dialektos_id, const std::optional<std::string>& version,
                   const Dialektos* dialektos, ResolveDialektos resolve, std::size_t expected_size,
                   TextSink sink = {});
    ~DocumentWriter();
    DocumentWriter(const DocumentWriter&) = delete;
    DocumentWriter& operator=(const DocumentWriter&) = delete;

    void block(const Block& block);
    // The first items of a Paragraph, in as many parts as the caller likes,
    // the last item of each not a text; the paragraph's block() brings the
    // rest. Each part is written at once, and with a sink handed on with
    // the lines before it, so a long paragraph need not be held whole.
    void paragraph_part(const std::vector<Inline>& part);
    // Writes a Paragraph of these items as block() would, when they are of
    // the kinds the paragraph line writer writes and sims are spelled
    // against the document's dialektos (outside any Englossis); false when
    // the paragraph is left to block(). With `names`, sims are written by
    // the names it gives (as block() writes symbols renamed so).
    bool simple_paragraph(const FlatInlines& inlines, SimNames* names = nullptr);
    bool simple_paragraph(const std::vector<Inline>& inlines);
    // The writer of simple paragraphs and Para lines, where sims are
    // spelled against the document's dialektos; null elsewhere.
    ParagraphLineWriter* line_writer();
    // A block with a body that open() would open with the line `opener`
    // (line feed included) and that close() would close with
    // `closing_line` after its body, both already written by the caller,
    // and the closer its body's lines may not begin with.
    void written_open(BlockKind kind, std::string_view opener, std::string closer);
    void written_close(std::string_view closing_line);
    void open(const Block& block);
    void close(const Block& block);
    std::string finish() &&;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The plerographic spelling of a sim, "{" + name + "}".
std::string name_reference(std::string_view name);

// "(<onym>)" when there is an onym, then ".<genos>" for each genos.
void write_suffix(const Suffix& suffix, std::string& out);

}  // namespace ilvex
