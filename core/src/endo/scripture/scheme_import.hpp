// A scripture import with a versification scheme. The marks are rewritten
// block by block as the importer hands the blocks over, so the import still
// streams. Only "page" and "section" milestones depend on the whole
// document (they move into the scheme when it holds no milestone of the
// scheme anywhere): from the first block holding one, blocks wait until a
// milestone of the scheme turns up or the import ends.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"

namespace ilvex {

// A streaming importer entry, as endo calls it.
using ScriptureImporter = Status (*)(std::string_view text, ImportSink& sink);

// Imports `text` through `importer`, applies the scheme pass and gives
// `sink` the declaration and the blocks. An import error comes first; then a
// scheme that is no valid genos, which no milestone could be written with,
// fails with "invalid milestone scheme `{}`".
Status import_with_scheme(ScriptureImporter importer, std::string_view text, std::string_view scheme,
                          ImportSink& sink);

// The sink between the importer and `target`: rewrites each top-level block
// and hands it on; finish() hands on the blocks still waiting. `scheme`
// must be a valid genos.
class SchemeSink final : public ImportSink {
public:
    SchemeSink(std::string_view scheme, ImportSink& target) : scheme_(scheme), target_(target) {}

    Status declaration(std::string_view dialektos, const std::optional<std::string>& version) override;
    void finish();

private:
    // What the importer handed over: a whole block or a piece of one.
    enum class Piece { Whole, Open, Child, Close };
    struct Handed {
        Piece piece;
        Block block;  // empty for Close
    };

    // Pieces are taken as they come: a block given while one is open is
    // one of its children.
    bool takes_pieces() const override { return true; }
    void accept(Block&& block) override { take({open_ == 0 ? Piece::Whole : Piece::Child, std::move(block)}); }
    void accept_open(const Block& block) override {
        ++open_;
        take({Piece::Open, block});
    }
    void accept_close(const Block&) override {
        --open_;
        take({Piece::Close, {}});
    }

    void take(Handed handed);
    // Rewrites what was handed over (moving page and section milestones as
    // `move` says) and hands it on.
    void pass_on(Handed handed, bool move);
    void flush_waiting(bool move);

    std::string_view scheme_;
    ImportSink& target_;
    std::size_t open_ = 0;         // blocks opened and not yet closed
    bool scheme_seen_ = false;     // a milestone of the scheme stood in a block before the pass
    std::vector<Handed> waiting_;  // not yet rewritten, in order
    std::string chapter_;          // the chapter of marks outside any book division
    // The block opened in pieces: a book division has a book and chapter
    // of its own; the children of any other block are walked as top-level.
    bool in_division_ = false;
    std::string division_book_;
    std::string division_chapter_;
};

}  // namespace ilvex
