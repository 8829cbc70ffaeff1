// The one failure value of the language library, and its exact text form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace ilvex {

// Numbered in declaration order; the numbers are part of the interface.
enum class ErrorKind : std::uint8_t {
    InvalidUtf8 = 0,
    MissingDeclaration = 1,
    UnresolvedDialektos = 2,
    InvalidDeclaration = 3,
    MixedSigils = 4,
    SigilRunTooLong = 5,
    UndefinedSim = 6,
    UnmatchedSim = 7,
    UnmatchedEpisim = 8,
    EndoMimicsPara = 9,
    MonosimWhitespace = 10,
    InvalidOnym = 11,
    InvalidGenos = 12,
    AxiomaBeforeDefinition = 13,
    DeixisNotOnym = 14,
    DeixisTargetMismatch = 15,
    EnlexisStandaloneAnchor = 16,
    EnlexisParaInEndo = 17,
    AnaphorInEndo = 18,
    MissingResource = 19,
    TransclusionCycle = 20,
    Message = 21,
    InconsistentTaxis = 22,
    ConflictingSimSymbol = 23,
    InvalidDefinition = 24,
    InvalidExomorphosis = 25,
    InvalidMorphism = 26,
    UnresolvedMorphism = 27,
    UnmappedSims = 28,
    MorphismNotTotal = 29,
    AmbiguousMorphismRoute = 30,
    UnresolvedExomorphosis = 31,
    NoExomorphosisRule = 32,
    AmbiguousExomorphosisRules = 33,
    Other = 34,
    Io = 35,
};

inline constexpr int error_kind_count = 36;

struct ErrorLocation {
    std::string path;
    std::uint64_t line = 1;
    std::uint64_t column = 1;

    bool operator==(const ErrorLocation&) const = default;
};

// What a kind carries: nothing, one string (an Io error carries the
// operating system's text), one count, two strings (kind 15: symbol and
// target) or two counts (kind 22: expected and found).
using ErrorPayload = std::variant<std::monostate, std::string, std::uint64_t,
                                  std::pair<std::string, std::string>,
                                  std::pair<std::uint64_t, std::uint64_t>>;

struct Error {
    ErrorKind kind = ErrorKind::Other;
    ErrorPayload payload;
    std::optional<ErrorLocation> location;
    std::vector<std::string> included_via;

    Error() = default;
    explicit Error(ErrorKind k) : kind(k) {}
    Error(ErrorKind k, std::string text) : kind(k), payload(std::move(text)) {}
    Error(ErrorKind k, std::uint64_t count) : kind(k), payload(count) {}
    Error(ErrorKind k, std::string first, std::string second)
        : kind(k), payload(std::pair{std::move(first), std::move(second)}) {}
    Error(ErrorKind k, std::uint64_t first, std::uint64_t second)
        : kind(k), payload(std::pair{first, second}) {}

    // Places the error; returns it so that a producer can write
    // `return Error(...).at(path, line, column);`.
    Error&& at(std::string path, std::uint64_t line, std::uint64_t column = 1) && {
        location = ErrorLocation{std::move(path), line, column};
        return std::move(*this);
    }

    bool operator==(const Error&) const = default;
};

// "{path}:{line}:{column}"
std::string location_prefix(const ErrorLocation& location);

// The full text: location prefix and ": ", the kind's message, and the
// include chain (last stored path first).
std::string error_message(const Error& error);

}  // namespace ilvex
