// The visitor made of one lambda per alternative, for std::visit over the
// node variants of the tree.
#pragma once

namespace ilvex {

template <class... F>
struct overloaded : F... {
    using F::operator()...;
};

}  // namespace ilvex
