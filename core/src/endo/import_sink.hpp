// Where an importer puts the document it reads, as it reads it: first the
// declaration, then each top-level block in order, handed over as soon as
// it is complete. A sink that writes or checks the blocks as they come
// holds one top-level block at a time, never the whole tree.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"

namespace ilvex {

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

    // A top-level block handed over in pieces, for one with more children
    // than are worth holding at once: `open_block` with the block (a Para,
    // Diaphane, Englossis or ParaAxioma) without its children, then each
    // child in order, then `close_block`. Strings go to NFC as in block().
    void open_block(Block&& block);
    void child_block(Block&& child);
    void close_block();

protected:
    ~ImportSink() = default;

private:
    virtual void accept(Block&& block) = 0;
    // By default the pieces are gathered into one block for accept().
    virtual void accept_open(Block&& block);
    virtual void accept_child(Block&& child);
    virtual void accept_close();

    std::optional<Block> gathered_;
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
