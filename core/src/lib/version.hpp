// The version of the library and of the module that wraps it.
#pragma once

#include <string_view>

namespace ilvex {

inline constexpr std::string_view version = "0.3.1";

}  // namespace ilvex
