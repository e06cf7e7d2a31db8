#pragma once
// Fixed-point amount with four decimals: a signed 64-bit count of
// ten-thousandths. Every operation that can leave the range is checked and
// raises ArithmeticFault; every rounding is to nearest, ties to even.
//
// The operations are inline: the payback search and the analysis run them
// millions of times, and a call each would cost more than the arithmetic.
// The rare ways out (faults, products beyond 64 bits) stay out of line.

#include <compare>
#include <cstdint>

#include "rounding.h"

namespace zr {

class Money {
 public:
  static constexpr std::int64_t kScale = 10000;

  constexpr Money() = default;
  static constexpr Money FromRaw(std::int64_t raw) { return Money(raw); }
  // Exact; a 32-bit value always fits.
  static constexpr Money FromInt32(std::int32_t n) { return Money(std::int64_t{n} * kScale); }
  // x × 10000 rounded to the nearest integer, ties to even.
  static Money FromDouble(double x);

  constexpr std::int64_t Raw() const { return raw_; }
  double ToDouble() const { return static_cast<double>(raw_) / static_cast<double>(kScale); }
  // Nearest whole number, ties to even: as a 32-bit integer (checked), and
  // as a 64-bit one, which always fits.
  std::int32_t ToInt32() const;
  std::int64_t ToInt64() const { return DivideRoundHalfEven(raw_, kScale); }

  friend Money operator+(Money a, Money b);
  friend Money operator-(Money a, Money b);
  // Exact product rounded to the nearest 0.0001, ties to even.
  friend Money operator*(Money a, Money b);

  friend constexpr bool operator==(Money, Money) = default;
  friend constexpr auto operator<=>(Money, Money) = default;

 private:
  constexpr explicit Money(std::int64_t raw) : raw_(raw) {}
  // The product when a·b leaves 64 bits in between.
  static Money WideProduct(Money a, Money b);
  std::int64_t raw_ = 0;
};

namespace money_detail {
[[noreturn]] void RaiseOutOfRange();
[[noreturn]] void RaiseInt32OutOfRange();
}  // namespace money_detail

inline Money Money::FromDouble(double x) {
  const double scaled = RoundHalfEven(x * static_cast<double>(kScale));
  // 2^63 is exactly representable; anything at or beyond it (or NaN) fails.
  constexpr double kLimit = 9223372036854775808.0;
  if (!(scaled >= -kLimit && scaled < kLimit)) [[unlikely]] {
    money_detail::RaiseOutOfRange();
  }
  return Money(static_cast<std::int64_t>(scaled));
}

inline std::int32_t Money::ToInt32() const {
  const std::int64_t whole = ToInt64();
  if (whole != static_cast<std::int32_t>(whole)) [[unlikely]] {
    money_detail::RaiseInt32OutOfRange();
  }
  return static_cast<std::int32_t>(whole);
}

inline Money operator+(Money a, Money b) {
  std::int64_t sum;
  if (__builtin_add_overflow(a.raw_, b.raw_, &sum)) [[unlikely]] {
    money_detail::RaiseOutOfRange();
  }
  return Money(sum);
}

inline Money operator-(Money a, Money b) {
  std::int64_t difference;
  if (__builtin_sub_overflow(a.raw_, b.raw_, &difference)) [[unlikely]] {
    money_detail::RaiseOutOfRange();
  }
  return Money(difference);
}

inline Money operator*(Money a, Money b) {
  std::int64_t narrow;
  if (__builtin_mul_overflow(a.raw_, b.raw_, &narrow)) [[unlikely]] {
    return Money::WideProduct(a, b);
  }
  // A division by a constant: compiled to a multiplication.
  return Money(DivideRoundHalfEven(narrow, Money::kScale));
}

// Short forms that read like the formulas of the model.
inline double Dbl(Money m) { return m.ToDouble(); }
inline constexpr Money MoneyOf(std::int32_t n) { return Money::FromInt32(n); }

}  // namespace zr
