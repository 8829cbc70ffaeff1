// Long inputs for the tests of bounds and running time: a piece written
// over and over.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ilvex::testing {

inline std::string repeated(std::string_view piece, std::size_t times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

}  // namespace ilvex::testing
