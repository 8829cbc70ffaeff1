// Result-or-Error: what every fallible operation of the library returns.
#pragma once

#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

#include "dialektos/error.hpp"

namespace ilvex {

template <class T>
class [[nodiscard]] Result {
    static_assert(!std::is_same_v<T, Error>, "a Result cannot hold an Error as its value");

public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    Error& error() & { return std::get<1>(state_); }
    const Error& error() const& { return std::get<1>(state_); }
    Error&& error() && { return std::get<1>(std::move(state_)); }

private:
    std::variant<T, Error> state_;
};

// A fallible operation without a value.
template <>
class [[nodiscard]] Result<void> {
public:
    // Provided rather than defaulted: `return {};` then value-initializes
    // through it, which sets only the empty flag, where a defaulted one would
    // have the whole Error's storage zeroed first on every success.
    Result() noexcept {}
    Result(Error error) : error_(std::move(error)) {}

    bool ok() const { return !error_.has_value(); }
    explicit operator bool() const { return ok(); }

    Error& error() & { return *error_; }
    const Error& error() const& { return *error_; }
    Error&& error() && { return std::move(*error_); }

private:
    std::optional<Error> error_;
};

using Status = Result<void>;

}  // namespace ilvex
