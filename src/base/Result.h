// Result.h — how the zone files and the player's files report a failure: a value, or why there is
// none. One way for both layers, so a screen turns every failure into a message the same way.
#pragma once

#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace quarn {

// What went wrong, as a Czech sentence (or the words of one) for the player; paths quoted in it
// have their control characters escaped.
struct Failure {
  std::string Message;
};

// A function returns its value or its failure as they are (`return zone;`, `return ZoneError{…};`);
// Fail turns a sentence into a failure: `return Fail("…");`.
template <class E>
struct Failing {
  E Error;
};
template <class E>
Failing<std::decay_t<E>> Fail(E&& error) {
  return {std::forward<E>(error)};
}
inline Failing<Failure> Fail(std::string message) { return {Failure{std::move(message)}}; }
inline Failing<Failure> Fail(const char* message) { return {Failure{message}}; }

// A value of T, or the failure E that stopped it.
template <class T, class E = Failure>
class [[nodiscard]] Result {
 public:
  Result(T value) : v_(std::in_place_index<0>, std::move(value)) {}
  Result(E error) : v_(std::in_place_index<1>, std::move(error)) {}
  template <class F, class = std::enable_if_t<std::is_constructible_v<E, F&&>>>
  Result(Failing<F> failed) : v_(std::in_place_index<1>, E(std::move(failed.Error))) {}

  bool Ok() const { return v_.index() == 0; }
  explicit operator bool() const { return Ok(); }
  T& Value() & { return std::get<0>(v_); }
  const T& Value() const& { return std::get<0>(v_); }
  T&& Value() && { return std::get<0>(std::move(v_)); }
  T& operator*() & { return Value(); }
  const T& operator*() const& { return Value(); }
  T* operator->() { return &Value(); }
  const T* operator->() const { return &Value(); }
  const E& Error() const { return std::get<1>(v_); }

  // Equal to a value when it holds that value; two results when both hold equal values.
  friend bool operator==(const Result& r, const T& value) { return r.Ok() && r.Value() == value; }
  friend bool operator==(const Result& a, const Result& b) {
    return a.Ok() && b.Ok() ? a.Value() == b.Value() : a.Ok() == b.Ok();
  }

 private:
  std::variant<T, E> v_;
};

// Done, or the failure E that stopped it.
template <class E>
class [[nodiscard]] Result<void, E> {
 public:
  Result() = default;
  Result(E error) : error_(std::move(error)) {}
  template <class F, class = std::enable_if_t<std::is_constructible_v<E, F&&>>>
  Result(Failing<F> failed) : error_(E(std::move(failed.Error))) {}

  bool Ok() const { return !error_.has_value(); }
  explicit operator bool() const { return Ok(); }
  const E& Error() const { return *error_; }

 private:
  std::optional<E> error_;
};

// The failure's message, or "" when all went well (for the places that show a sentence either way).
template <class T>
std::string MessageOf(const Result<T, Failure>& result) {
  return result.Ok() ? std::string() : result.Error().Message;
}

}  // namespace quarn
