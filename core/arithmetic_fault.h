#pragma once
#include <stdexcept>

namespace zr {

// Raised by the checked arithmetic (Money, 32-bit and double steps) when a
// result leaves its range. Caught only by the calculation run.
class ArithmeticFault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace zr
