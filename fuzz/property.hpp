// What a fuzz target does when a property fails: the failure and the input
// go to stderr and the process aborts, so that libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace ilvex::fuzz {

inline void require(std::string_view failure) {
    if (failure.empty()) return;
    std::fprintf(stderr, "property failed:\n%.*s\n", static_cast<int>(failure.size()), failure.data());
    std::abort();
}

inline std::string_view as_text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace ilvex::fuzz
