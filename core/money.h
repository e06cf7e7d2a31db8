#pragma once
// Fixed-point amount with four decimals: a signed 64-bit count of
// ten-thousandths. Every operation that can leave the range is checked and
// raises ArithmeticFault; every rounding is to nearest, ties to even.

#include <compare>
#include <cstdint>

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
  double ToDouble() const;
  // Nearest whole number, ties to even: as a 32-bit integer (checked), and
  // as a 64-bit one, which always fits.
  std::int32_t ToInt32() const;
  std::int64_t ToInt64() const;

  friend Money operator+(Money a, Money b);
  friend Money operator-(Money a, Money b);
  // Exact product rounded to the nearest 0.0001, ties to even.
  friend Money operator*(Money a, Money b);

  friend constexpr bool operator==(Money, Money) = default;
  friend constexpr auto operator<=>(Money, Money) = default;

 private:
  constexpr explicit Money(std::int64_t raw) : raw_(raw) {}
  std::int64_t raw_ = 0;
};

// Short forms that read like the formulas of the model.
inline double Dbl(Money m) { return m.ToDouble(); }
inline constexpr Money MoneyOf(std::int32_t n) { return Money::FromInt32(n); }

}  // namespace zr
