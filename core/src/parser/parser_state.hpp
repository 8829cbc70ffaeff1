// The state of one document parse, shared by the block, header, inline and
// suffix readers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dendron/flat_inlines.hpp"
#include "dendron/outline_record.hpp"
#include "dendron/reference_sink.hpp"
#include "dialektos/std_parse_cache.hpp"
#include "dialektos/symbol_index.hpp"
#include "parser/document_lines.hpp"
#include "parser/inline_scratch.hpp"

namespace ilvex {

// Takes the blocks of a parse as they are read, so that none needs to be
// kept once handed over. A block with a body of blocks (Para, Diaphane,
// Englossis, ParaAxioma) comes in three steps: `open` once its opener is
// read (no children yet, nor what its closing line holds), its children one
// by one, then `close` with everything but the children.
// The sink may change the container at `open` (plero names its sims in
// place): the parse reads nothing of it again but to add what the closing
// line holds, and `close` gets the same block. A parse that collects outline
// records reads its symbol and lemma for the record, so its sink leaves them.
class BlockSink {
public:
    virtual ~BlockSink() = default;
    virtual void open(Block& container) = 0;
    virtual void block(Block&& block) = 0;
    virtual void close(Block& container) = 0;

    // Whether the sink takes a long paragraph in parts as it is read, so
    // that the parse holds a bounded number of its items at a time.
    virtual bool takes_paragraph_parts() const { return false; }
    // The next items of the paragraph being read, the first ones or those
    // after the last part (`part` is a Paragraph holding only them). The
    // last of them is not a text, so writing them waits for nothing that
    // follows. The paragraph's `block` brings the rest and ends it.
    // The sink may change the items but leaves the lists in place, for the
    // parse to reuse.
    virtual void paragraph_part(Block& part) { (void)part; }

    // Whether the sink may write a paragraph from its flat list of items
    // (see flat_paragraph), so that the parse builds no tree for it.
    virtual bool takes_flat_paragraphs() const { return false; }
    // A paragraph as a flat list, which views the text parsed: true when
    // the sink is done with it, false when it is to come as a block instead.
    // The sink may change the items.
    virtual bool flat_paragraph(FlatInlines& inlines) {
        (void)inlines;
        return false;
    }
};

// Told, as a parse goes, an offset before which it has read the text for
// good: nothing of the parse refers to those bytes any more, so the caller
// holding the text may give their memory back.
using TextDone = std::function<void(std::size_t offset)>;

struct ParserState {
    // The lines of the text being parsed, which outlives the parse, split as
    // the parse reaches them: the tree copies what it keeps.
    DocumentLines lines;
    std::string path;
    std::string dir;
    // Only the outline reads the records; other parses skip building them.
    bool collect_records = false;
    // When set, every block goes here as soon as it has been read instead of
    // into the document, so the parse holds no more than one paragraph or
    // verse block at a time (a parse that only validates, or one written as
    // it goes).
    BlockSink* sink = nullptr;
    // Told between top-level blocks, when no block is open, that the text
    // before the current line is done with.
    TextDone text_done;
    // Off for a parse that only validates, or one for the outline: running
    // text is read and checked but no inline item is kept, except a lemma's
    // when the records are collected, which hold its plain text.
    bool keep_content = true;
    // Set for a parse for the outline: the references of running text go
    // here as they are read, outside axioma bodies.
    ReferenceSink* references = nullptr;
    OutlineRecords records;
    // Reused by every inline text of the parse; it holds nothing between texts.
    mutable InlineScratch inline_scratch;
    // The lines of the paragraph being read, joined where they are not one
    // run of the text; reused by every paragraph.
    std::string paragraph_text;
    // The items of the paragraph being read, for a sink that takes them as
    // a flat list; made at the first such paragraph (a parse state is made
    // and moved a few times a call, and an empty list would allocate), then
    // reused by every paragraph.
    std::unique_ptr<FlatInlines> flat_paragraph;
    std::uint64_t pos = 0;
    std::uint64_t depth = 0;
    bool backslash = false;
    // The index of the dialektos in force (see SymbolScope).
    const SymbolIndex* symbols = nullptr;

    char sigil() const { return backslash ? '\\' : '@'; }

    // The index to look sim tokens of `dialektos` up in; null when the
    // dialektos in force is another one or none is indexed.
    const SymbolIndex* symbols_for(const Dialektos& dialektos) const {
        return symbols != nullptr && &symbols->dialektos() == &dialektos ? symbols : nullptr;
    }
};

// Puts `dialektos` in force for the sim lookups of the blocks parsed while
// the scope lives: the document's dialektos for the whole parse, an
// embedded one for an Englossis body.
class SymbolScope {
public:
    SymbolScope(ParserState& state, const Dialektos& dialektos) : state_(state), outer_(state.symbols) {
        const SymbolIndex* shared = std_symbol_index(dialektos);
        state_.symbols = shared ? shared : &index_.emplace(dialektos);
    }
    ~SymbolScope() { state_.symbols = outer_; }
    SymbolScope(const SymbolScope&) = delete;
    SymbolScope& operator=(const SymbolScope&) = delete;

private:
    ParserState& state_;
    std::optional<SymbolIndex> index_;  // when the dialektos has no shared index
    const SymbolIndex* outer_;
};

}  // namespace ilvex
