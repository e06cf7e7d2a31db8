#pragma once
// Checked steps outside Money: doubles that must stay finite, and 32-bit
// whole numbers. Each raises ArithmeticFault when its result leaves range.

#include <cstdint>

#include "money.h"

namespace zr {

// Passes a finite double through; an infinity or NaN (overflow, division
// by zero, invalid operation) is a fault.
double Checked(double x);

// Nearest whole number, ties to even, as a 32-bit integer.
std::int32_t Int32(double x);
inline std::int32_t Int32(Money m) { return m.ToInt32(); }

std::int32_t Add32(std::int32_t a, std::int32_t b);
std::int32_t Sub32(std::int32_t a, std::int32_t b);

}  // namespace zr
