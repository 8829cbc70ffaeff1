// The reference list of a JATS article: every ref of the back matter as an
// entry of a bibliography, embedded in the document as one bibliogramma
// block so that cites resolve by key.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "dialektos/result.hpp"
#include "endo/import_sink.hpp"
#include "endo/jats/jats_walk.hpp"

namespace ilvex {

class JatsReferences {
public:
    // Reads the back matter whose start tag `open` stands before `start`
    // and adds its refs, at any depth in it, to the entries; gives the index
    // after its end tag. The tokens read are released.
    Result<std::size_t> read_back(JatsWalk& walk, std::size_t start, const XmlOpen& open);

    // Gives `sink` the bibliogramma block holding every entry read, in
    // source order, an entry at a time; nothing when there is none.
    void write(ImportSink& sink) const;

    // One piece of an entry as it is kept: its key (which starts the
    // entry), its type, or one of its fields.
    enum class Piece : unsigned char { Key, Type, Field };

    // Appends a piece; a field's name is one of the entry reader's own.
    void add(Piece piece, std::string_view text, std::string_view field_name = {});

private:
    // Entries are kept packed in one string, a piece after the other, so
    // that a reference list of thousands of entries costs little more than
    // its text until it is written: each piece is its kind, the length of
    // the field name and its bytes, the length of the text and its bytes.
    std::string packed_;
};

}  // namespace ilvex
