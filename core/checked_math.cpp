#include "checked_math.h"

#include <cmath>
#include <limits>

#include "arithmetic_fault.h"

namespace zr {
namespace {

[[noreturn]] void OutOfRange() { throw ArithmeticFault("whole-number result out of range"); }

template <class Int>
Int Nearest(double x) {
  const double rounded = std::nearbyint(x);  // default rounding mode: ties to even
  // -2^(n-1) and 2^(n-1) are exact doubles; the second is just out of range.
  constexpr double kLow = static_cast<double>(std::numeric_limits<Int>::min());
  if (!(rounded >= kLow && rounded < -kLow)) OutOfRange();
  return static_cast<Int>(rounded);
}

template <class Int>
Int Sum(Int a, Int b) {
  Int sum;
  if (__builtin_add_overflow(a, b, &sum)) OutOfRange();
  return sum;
}

template <class Int>
Int Difference(Int a, Int b) {
  Int difference;
  if (__builtin_sub_overflow(a, b, &difference)) OutOfRange();
  return difference;
}

}  // namespace

double Checked(double x) {
  if (!std::isfinite(x)) throw ArithmeticFault("floating-point result out of range");
  return x;
}

std::int32_t Int32(double x) { return Nearest<std::int32_t>(x); }
std::int64_t Int64(double x) { return Nearest<std::int64_t>(x); }

std::int32_t Add32(std::int32_t a, std::int32_t b) { return Sum(a, b); }
std::int32_t Sub32(std::int32_t a, std::int32_t b) { return Difference(a, b); }
std::int64_t Add64(std::int64_t a, std::int64_t b) { return Sum(a, b); }
std::int64_t Sub64(std::int64_t a, std::int64_t b) { return Difference(a, b); }

}  // namespace zr
