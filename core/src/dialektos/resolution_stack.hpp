// The ids whose definitions are being parsed at this moment, outermost first.
// Each resolution entry point starts its own; an id met again while it is
// still on the stack is an inheritance cycle.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ilvex {

class ResolutionStack {
public:
    ResolutionStack() = default;
    explicit ResolutionStack(std::string outermost) { ids_.push_back(std::move(outermost)); }

    bool contains(std::string_view id) const;
    std::size_t depth() const { return ids_.size(); }

    void push(std::string id) { ids_.push_back(std::move(id)); }
    void pop() { ids_.pop_back(); }

private:
    std::vector<std::string> ids_;
};

}  // namespace ilvex
