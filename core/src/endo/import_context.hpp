// The state that one import passes through its converters: the importer's
// error constructor and the count of open nested elements, which bounds the
// depth of the converters' recursion and of the tree they build.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "dialektos/error.hpp"
#include "dialektos/result.hpp"

namespace ilvex {

// How many nested elements an import may hold open at once.
inline constexpr std::size_t max_import_nesting = 256;

// Builds an importer's error from its message ("tei_import_error", ...).
using ImportErrorConstructor = Error (*)(std::string_view message);

// The count of nested elements open in one import.
class NestingDepth {
public:
    NestingDepth() = default;
    // Open levels point back at their count, which therefore stays put.
    NestingDepth(const NestingDepth&) = delete;
    NestingDepth& operator=(const NestingDepth&) = delete;

    // One open level; it closes again when the level goes out of scope.
    class [[nodiscard]] Level {
    public:
        Level(Level&& other) noexcept : depth_(other.depth_) { other.depth_ = nullptr; }
        Level(const Level&) = delete;
        Level& operator=(const Level&) = delete;
        Level& operator=(Level&&) = delete;
        ~Level() {
            if (depth_ != nullptr) --depth_->open_;
        }

    private:
        friend class NestingDepth;
        explicit Level(NestingDepth& depth) : depth_(&depth) { ++depth_->open_; }
        NestingDepth* depth_;
    };

    // Opens one more level, or gives nothing when max_import_nesting levels
    // are open already.
    std::optional<Level> enter();

    std::size_t open() const { return open_; }

private:
    std::size_t open_ = 0;
};

struct ImportContext {
    explicit ImportContext(ImportErrorConstructor make_error) : make_error(make_error) {}

    Error error(std::string_view message) const { return make_error(message); }

    // Opens one more level for an element, or fails with "nesting deeper
    // than 256 levels".
    Result<NestingDepth::Level> enter();

    // `text` as an onym, or the error "invalid identifier `{text}`": an
    // identifier the parser would refuse cannot be written.
    Result<std::string> onym(std::string_view text) const;

    // Fails with "invalid identifier `{}`" naming the scheme when it is not
    // a valid genos, or the value when it is not a valid milestone value.
    Status check_milestone(std::string_view scheme, std::string_view value) const;

    ImportErrorConstructor make_error;
    NestingDepth nesting;
};

}  // namespace ilvex
