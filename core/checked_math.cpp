#include "checked_math.h"

#include "arithmetic_fault.h"

namespace zr::checked_detail {

void RaiseNotFinite() { throw ArithmeticFault("floating-point result out of range"); }

void RaiseOutOfRange() { throw ArithmeticFault("whole-number result out of range"); }

}  // namespace zr::checked_detail
