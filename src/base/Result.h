#pragma once
// The one way a routine of the program reports that it failed: a Result holds either the
// value it made or a Failure, which says why in the words of whoever reads it.
#include <optional>
#include <string>
#include <utility>
#include <variant>

// Why something failed, as a person reads it: Japanese for the windows, English for the
// command line and diagnostics. Both are UTF-8 and name the file or value concerned. A
// failure that only the command line reports (its options, its lists) has no Japanese.
struct Failure {
    std::string english;
    std::string japanese;
};

template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    explicit operator bool() const { return state_.index() == 0; }
    T& operator*() { return std::get<0>(state_); }
    const T& operator*() const { return std::get<0>(state_); }
    T* operator->() { return &std::get<0>(state_); }
    const T* operator->() const { return &std::get<0>(state_); }
    // The value, or `fallback` when the routine failed.
    T value_or(T fallback) const& { return *this ? **this : std::move(fallback); }
    T value_or(T fallback) && { return *this ? std::move(**this) : std::move(fallback); }
    // Precondition: the routine failed.
    const Failure& failure() const { return std::get<1>(state_); }

private:
    std::variant<T, Failure> state_;
};

// The result of a routine that makes nothing but may fail; `{}` is success.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failure_(std::move(failure)) {}

    explicit operator bool() const { return !failure_; }
    // Precondition: the routine failed.
    const Failure& failure() const { return *failure_; }

private:
    std::optional<Failure> failure_;
};
