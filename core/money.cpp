#include "money.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "arithmetic_fault.h"
#include "rounding.h"

namespace zr {
namespace {

constexpr WideInt kMoneyMin = std::numeric_limits<std::int64_t>::min();
constexpr WideInt kMoneyMax = std::numeric_limits<std::int64_t>::max();

[[noreturn]] void MoneyOverflow() { throw ArithmeticFault("Money out of range"); }

Money MoneyFromWide(WideInt raw) {
  if (raw < kMoneyMin || raw > kMoneyMax) MoneyOverflow();
  return Money::FromRaw(static_cast<std::int64_t>(raw));
}

}  // namespace

Money Money::FromDouble(double x) {
  const double scaled = std::nearbyint(x * static_cast<double>(kScale));
  // 2^63 is exactly representable; anything at or beyond it (or NaN) fails.
  constexpr double kLimit = 9223372036854775808.0;
  if (!(scaled >= -kLimit && scaled < kLimit)) MoneyOverflow();
  return Money(static_cast<std::int64_t>(scaled));
}

double Money::ToDouble() const { return static_cast<double>(raw_) / static_cast<double>(kScale); }

std::int64_t Money::ToInt64() const { return DivideRoundHalfEven(raw_, kScale); }

std::int32_t Money::ToInt32() const {
  const std::int64_t whole = ToInt64();
  if (whole < std::numeric_limits<std::int32_t>::min() ||
      whole > std::numeric_limits<std::int32_t>::max()) {
    throw ArithmeticFault("32-bit result out of range");
  }
  return static_cast<std::int32_t>(whole);
}

Money operator+(Money a, Money b) {
  std::int64_t sum;
  if (__builtin_add_overflow(a.raw_, b.raw_, &sum)) MoneyOverflow();
  return Money(sum);
}

Money operator-(Money a, Money b) {
  std::int64_t difference;
  if (__builtin_sub_overflow(a.raw_, b.raw_, &difference)) MoneyOverflow();
  return Money(difference);
}

Money operator*(Money a, Money b) {
  std::int64_t narrow;
  if (!__builtin_mul_overflow(a.raw_, b.raw_, &narrow)) {
    return Money(DivideRoundHalfEven(narrow, Money::kScale));
  }
  // |a·b| < 2^126, so the exact product fits in 128 bits.
  const WideInt product = static_cast<WideInt>(a.raw_) * b.raw_;
  return MoneyFromWide(DivideRoundHalfEven(product, WideInt{Money::kScale}));
}

}  // namespace zr
