// The reference list of a JATS article: every ref of the back matter as an
// entry of a bibliography, embedded in the document as one bibliogramma
// block so that cites resolve by key.
#pragma once

#include <cstddef>
#include <vector>

#include "dendron/document.hpp"
#include "dialektos/result.hpp"
#include "endo/jats/jats_walk.hpp"

namespace ilvex {

class JatsReferences {
public:
    // Reads the back matter whose start tag `open` stands before `start`
    // and adds its refs, at any depth in it, to the entries; gives the index
    // after its end tag.
    Result<std::size_t> read_back(const JatsWalk& walk, std::size_t start, const XmlOpen& open);

    bool empty() const { return entries_.empty(); }

    // The bibliogramma block holding every entry read, in source order.
    Block block() &&;

private:
    std::vector<Block> entries_;
};

}  // namespace ilvex
