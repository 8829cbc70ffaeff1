// Where an importer puts the document it reads, as it reads it: first the
// declaration, then each top-level block in order, handed over as soon as
// it is complete. A sink that writes or checks the blocks as they come
// holds one top-level block at a time, never the whole tree.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "dendron/flat_inlines.hpp"

namespace ilvex {

// The children of a block with a body of blocks; null for any other block.
std::vector<Block>* block_body(Block& block);

class ImportSink {
public:
    // The dialektos the imported document declares, and its version; given
    // once, before any block. A sink that cannot take the declaration fails
    // here, and the importer stops with its error.
    virtual Status declaration(std::string_view dialektos,
                               const std::optional<std::string>& version) = 0;

    // The next top-level block. Its strings are put in NFC first, as the
    // parser reads a document: written otherwise, the tree would read back
    // changed. Doing it here, a block at a time, spares every importer a
    // pass of its own over a whole tree.
    void block(Block&& block);

    // A block with a body of blocks (a Para, say) given in pieces, for an
    // importer whose top-level block may hold most of a document: `open`
    // with the block before its children, then each child through block()
    // or in pieces itself, then `close`. A sink that does not take pieces
    // gets the whole block at its close.
    void open(Block&& block);
    void close();

    // A paragraph whose inlines the importer read as a flat list, taken as
    // it stands by a sink that writes such paragraphs as lines: false when
    // the sink did not take it, and the importer gives the paragraph's tree
    // to block() instead. Only strings already in NFC are taken so.
    bool flat_paragraph(const FlatInlines& inlines) {
        return ascii_strings_ && (open_.empty() || takes_pieces()) && accept_flat(inlines);
    }

    // Told by an importer whose every string is a piece of an ASCII source
    // or an ASCII constant of its own: such strings are in NFC already, and
    // the blocks are taken as they come, without a pass over their strings.
    void take_ascii_strings() { ascii_strings_ = true; }

protected:
    ~ImportSink() = default;

private:
    virtual void accept(Block&& block) = 0;

    // A sink that takes pieces: a block opened, and closed (given again,
    // its children not read). Its open blocks are then kept only for close.
    virtual bool takes_pieces() const { return false; }
    virtual void accept_open(const Block&) {}
    virtual void accept_close(const Block&) {}
    virtual bool accept_flat(const FlatInlines&) { return false; }

    std::vector<Block> open_;  // the blocks opened and not yet closed, innermost last
    bool ascii_strings_ = false;
};

// Keeps what an importer gives as one Document, for callers that want the
// whole tree. Takes any declaration.
class DocumentCollector final : public ImportSink {
public:
    Status declaration(std::string_view dialektos, const std::optional<std::string>& version) override;

    Document document() && { return std::move(document_); }

private:
    void accept(Block&& block) override;

    Document document_;
};

}  // namespace ilvex
