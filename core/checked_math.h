#pragma once
// Checked steps outside Money: doubles that must stay finite, and whole
// numbers of 32 or 64 bits. Each raises ArithmeticFault when its result
// leaves range. Inline like Money's operations, with the faults out of line.

#include <cmath>
#include <cstdint>
#include <limits>

#include "money.h"
#include "rounding.h"

namespace zr {

namespace checked_detail {
[[noreturn]] void RaiseNotFinite();
[[noreturn]] void RaiseOutOfRange();

template <class Int>
Int Nearest(double x) {
  const double rounded = RoundHalfEven(x);
  // -2^(n-1) and 2^(n-1) are exact doubles; the second is just out of range.
  constexpr double kLow = static_cast<double>(std::numeric_limits<Int>::min());
  if (!(rounded >= kLow && rounded < -kLow)) [[unlikely]] {
    RaiseOutOfRange();
  }
  return static_cast<Int>(rounded);
}

template <class Int>
Int Sum(Int a, Int b) {
  Int sum;
  if (__builtin_add_overflow(a, b, &sum)) [[unlikely]] {
    RaiseOutOfRange();
  }
  return sum;
}

template <class Int>
Int Difference(Int a, Int b) {
  Int difference;
  if (__builtin_sub_overflow(a, b, &difference)) [[unlikely]] {
    RaiseOutOfRange();
  }
  return difference;
}
}  // namespace checked_detail

// Passes a finite double through; an infinity or NaN (overflow, division
// by zero, invalid operation) is a fault.
inline double Checked(double x) {
  if (!std::isfinite(x)) [[unlikely]] {
    checked_detail::RaiseNotFinite();
  }
  return x;
}

// Nearest whole number, ties to even, as a 32-bit or 64-bit integer.
inline std::int32_t Int32(double x) { return checked_detail::Nearest<std::int32_t>(x); }
inline std::int64_t Int64(double x) { return checked_detail::Nearest<std::int64_t>(x); }
inline std::int32_t Int32(Money m) { return m.ToInt32(); }
inline std::int64_t Int64(Money m) { return m.ToInt64(); }

inline std::int32_t Add32(std::int32_t a, std::int32_t b) { return checked_detail::Sum(a, b); }
inline std::int32_t Sub32(std::int32_t a, std::int32_t b) {
  return checked_detail::Difference(a, b);
}
inline std::int64_t Add64(std::int64_t a, std::int64_t b) { return checked_detail::Sum(a, b); }
inline std::int64_t Sub64(std::int64_t a, std::int64_t b) {
  return checked_detail::Difference(a, b);
}

}  // namespace zr
