#include "money.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "arithmetic_fault.h"

namespace zr {
namespace {

// 128-bit intermediate for exact products (a GCC/Clang extension).
__extension__ typedef __int128 WideInt;

constexpr WideInt kMoneyMin = std::numeric_limits<std::int64_t>::min();
constexpr WideInt kMoneyMax = std::numeric_limits<std::int64_t>::max();

[[noreturn]] void MoneyOverflow() { throw ArithmeticFault("Money out of range"); }

// n / 10000 rounded half to even. The common case of the arithmetic: with a
// constant divisor in 64 bits the division becomes a multiplication, where
// the 128-bit path calls a library routine.
std::int64_t RoundScaled(std::int64_t n) {
  std::int64_t quotient = n / Money::kScale;
  const std::int64_t remainder = n % Money::kScale;
  if (remainder == 0) return quotient;
  const std::int64_t twice = (remainder < 0 ? -remainder : remainder) * 2;
  if (twice > Money::kScale || (twice == Money::kScale && quotient % 2 != 0)) {
    quotient += n < 0 ? -1 : 1;
  }
  return quotient;
}

WideInt DivideRoundHalfEven(WideInt numerator, std::int64_t divisor) {
  WideInt quotient = numerator / divisor;  // truncates towards zero
  WideInt remainder = numerator % divisor;
  if (remainder == 0) return quotient;
  const WideInt twice = (remainder < 0 ? -remainder : remainder) * 2;
  const bool away = twice > divisor || (twice == divisor && (quotient % 2 != 0));
  if (away) quotient += (numerator < 0) ? -1 : 1;
  return quotient;
}

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

std::int32_t Money::ToInt32() const {
  const std::int64_t whole = RoundScaled(raw_);
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
  if (!__builtin_mul_overflow(a.raw_, b.raw_, &narrow)) return Money(RoundScaled(narrow));
  // |a·b| < 2^126, so the exact product fits in 128 bits.
  const WideInt product = static_cast<WideInt>(a.raw_) * b.raw_;
  return MoneyFromWide(DivideRoundHalfEven(product, Money::kScale));
}

}  // namespace zr
