#include "checked_math.h"

#include <cmath>
#include <limits>

#include "arithmetic_fault.h"

namespace zr {

double Checked(double x) {
  if (!std::isfinite(x)) throw ArithmeticFault("floating-point result out of range");
  return x;
}

std::int32_t Int32(double x) {
  const double rounded = std::nearbyint(x);
  if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
        rounded <= std::numeric_limits<std::int32_t>::max())) {
    throw ArithmeticFault("32-bit result out of range");
  }
  return static_cast<std::int32_t>(rounded);
}

std::int32_t Add32(std::int32_t a, std::int32_t b) {
  std::int32_t sum;
  if (__builtin_add_overflow(a, b, &sum)) throw ArithmeticFault("32-bit sum out of range");
  return sum;
}

std::int32_t Sub32(std::int32_t a, std::int32_t b) {
  std::int32_t difference;
  if (__builtin_sub_overflow(a, b, &difference)) {
    throw ArithmeticFault("32-bit difference out of range");
  }
  return difference;
}

}  // namespace zr
