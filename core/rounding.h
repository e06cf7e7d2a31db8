#pragma once
// The calculator's one rounding rule for whole-number division: to the
// nearest, ties to the even neighbour. Used by Money's products and
// conversions and by the reading of number texts.

#include <cmath>

namespace zr {

// A 128-bit integer for exact intermediates (a GCC/Clang extension).
__extension__ typedef __int128 WideInt;

// numerator / divisor (divisor > 0) rounded to the nearest, ties to even.
// Inline with a constant divisor, the 64-bit form compiles to a multiply.
// Without branches: for the products of a calculation whether to round away
// is a coin toss, which a branch would mispredict half the time.
template <class Int>
constexpr Int DivideRoundHalfEven(Int numerator, Int divisor) {
  const Int quotient = numerator / divisor;  // truncates towards zero
  const Int remainder = numerator % divisor;
  const Int twice = (remainder < 0 ? -remainder : remainder) * 2;
  // Away from zero beyond the half, and at the half when the quotient is odd.
  const Int away = Int{twice > divisor} | (Int{twice == divisor} & (quotient & 1));
  return quotient + (numerator < 0 ? -away : away);
}

// x rounded to the nearest whole number, ties to even: what std::nearbyint
// gives in the default rounding mode, without its library call (which the
// x86-64 baseline cannot inline). Below 2^52 in magnitude, adding 2^52
// rounds away exactly the fraction, since the sum's last bit is worth 1 and
// 2^52 is even; taking it off again is exact. From 2^52 on every double is
// whole, and NaN and the infinities pass through unchanged.
inline double RoundHalfEven(double x) {
  constexpr double kTwo52 = 4503599627370496.0;
  if (std::fabs(x) < kTwo52) {
    const double shift = std::copysign(kTwo52, x);
    return std::copysign((x + shift) - shift, x);  // keeps the sign of -0.3 → -0
  }
  return x;
}

}  // namespace zr
