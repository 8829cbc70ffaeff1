// What a fuzz target does when a property fails: the failure and the input
// go to stderr and the process aborts, so that libFuzzer keeps the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace ilvex::fuzz {

inline void require(std::string_view failure) {
    if (failure.empty()) return;
    // Written as bytes: the texts involved may hold NUL characters.
    std::fputs("property failed:\n", stderr);
    std::fwrite(failure.data(), 1, failure.size(), stderr);
    std::fputs("\n", stderr);
    std::abort();
}

inline std::string_view as_text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace ilvex::fuzz
