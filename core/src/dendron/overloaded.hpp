// The visitor made of one lambda per alternative, for std::visit over the
// node variants of the tree.
#pragma once

namespace ilvex {

template <class... F>
struct overloaded : F... {
    using F::operator()...;
};

// Deduces the lambdas' types from the braced list; clang before 17 does not
// deduce an aggregate's template arguments without a guide.
template <class... F>
overloaded(F...) -> overloaded<F...>;

}  // namespace ilvex
