#pragma once
// The calculator's one rounding rule for whole-number division: to the
// nearest, ties to the even neighbour. Used by Money's products and
// conversions and by the reading of number texts.

namespace zr {

// A 128-bit integer for exact intermediates (a GCC/Clang extension).
__extension__ typedef __int128 WideInt;

// numerator / divisor (divisor > 0) rounded to the nearest, ties to even.
// Inline with a constant divisor, the 64-bit form compiles to a multiply.
template <class Int>
constexpr Int DivideRoundHalfEven(Int numerator, Int divisor) {
  Int quotient = numerator / divisor;  // truncates towards zero
  const Int remainder = numerator % divisor;
  if (remainder == 0) return quotient;
  const Int twice = (remainder < 0 ? -remainder : remainder) * 2;
  if (twice > divisor || (twice == divisor && quotient % 2 != 0)) {
    quotient += numerator < 0 ? -1 : 1;
  }
  return quotient;
}

}  // namespace zr
