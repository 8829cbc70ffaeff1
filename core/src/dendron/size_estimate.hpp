// How long the text of a document will about be, so that the writer can
// allocate its output once.
#pragma once

#include <cstddef>

#include "dendron/document.hpp"

namespace ilvex {

// Every string of the tree plus room for the markup around each node; the
// text rarely outgrows it.
std::size_t estimated_text_size(const Document& document);

}  // namespace ilvex
