#include "dialektos/resolution_stack.hpp"

#include <algorithm>

namespace ilvex {

bool ResolutionStack::contains(std::string_view id) const {
    return std::find(ids_.begin(), ids_.end(), id) != ids_.end();
}

}  // namespace ilvex
