// The state of one resolution entry-point call: the ids whose definitions are
// being parsed at this moment (outermost first), the dialektoi that resolved
// so far, and the listings of the sources read. Each entry point starts its
// own stack; nothing outlives the call.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialektos/model.hpp"
#include "dialektos/source.hpp"

namespace ilvex {

class ResolutionStack {
public:
    // The longest chain of definitions that may be parsed one inside another.
    static constexpr std::size_t max_depth = 64;

    ResolutionStack() = default;
    // A stack whose outermost id is being parsed by the caller itself.
    explicit ResolutionStack(std::string outermost);

    // Whether `id` is being parsed, so that meeting it again is a cycle.
    bool contains(std::string_view id) const;
    std::size_t depth() const { return frames_.size(); }

    void push(std::string id);
    // Pops the innermost id and returns the height of its definition: the
    // length of the longest chain of definitions parsed from it, itself
    // included.
    std::size_t pop();

    // A dialektos that resolved from `source` under `id` earlier in this call,
    // when reusing it gives what resolving it again would: resolution depends
    // on the stack only through cycles, which never resolve, and through the
    // depth bound, which is why each dialektos is kept with its height.
    const Dialektos* recall(const DefinitionSource& source, std::string_view id);
    // Keeps a dialektos that resolved from `source`; returns the kept one.
    const Dialektos& remember(const DefinitionSource& source, std::string id, Dialektos dialektos,
                              std::size_t height);

    // Tells the innermost definition that it imported a dialektos of
    // `height`; `recall` and `remember` do so themselves, and a dialektos
    // reached without them must too, so heights stay what a fresh parse
    // would record.
    void note_import(std::size_t height);

    // The names `source` holds, in byte order, listed once per call.
    const std::vector<std::string>& listing(const DefinitionSource& source);

private:
    struct Frame {
        std::string id;
        std::size_t tallest_import = 0;
    };
    struct Resolved {
        Dialektos dialektos;
        std::size_t height = 0;
    };
    struct SourceRecord {
        std::map<std::string, Resolved, std::less<>> resolved;
        std::optional<std::vector<std::string>> listing;
    };

    std::vector<Frame> frames_;
    std::map<const DefinitionSource*, SourceRecord> sources_;
};

}  // namespace ilvex
