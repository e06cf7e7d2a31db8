#include "money.h"

#include <cstdint>
#include <limits>

#include "arithmetic_fault.h"

namespace zr {

namespace money_detail {

void RaiseOutOfRange() { throw ArithmeticFault("Money out of range"); }

void RaiseInt32OutOfRange() { throw ArithmeticFault("32-bit result out of range"); }

}  // namespace money_detail

Money Money::WideProduct(Money a, Money b) {
  // |a·b| < 2^126, so the exact product fits in 128 bits.
  const WideInt product = static_cast<WideInt>(a.raw_) * b.raw_;
  const WideInt raw = DivideRoundHalfEven(product, WideInt{kScale});
  if (raw < std::numeric_limits<std::int64_t>::min() ||
      raw > std::numeric_limits<std::int64_t>::max()) {
    money_detail::RaiseOutOfRange();
  }
  return Money(static_cast<std::int64_t>(raw));
}

}  // namespace zr
