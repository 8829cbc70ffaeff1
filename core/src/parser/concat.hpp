// Joining text pieces into one string, for messages, payloads and closers.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace ilvex {

// Appends the pieces in order. Building text this way rather than with
// "literal" + std::string also keeps g++ 12's false -Wrestrict warning on
// that operator (GCC bug 105651) out of optimised builds.
inline std::string concat(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (const auto piece : pieces) size += piece.size();
    std::string out;
    out.reserve(size);
    for (const auto piece : pieces) out += piece;
    return out;
}

}  // namespace ilvex
