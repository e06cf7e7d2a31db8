#pragma once
// Checked steps outside Money: doubles that must stay finite, and whole
// numbers of 32 or 64 bits. Each raises ArithmeticFault when its result
// leaves range.

#include <cstdint>

#include "money.h"

namespace zr {

// Passes a finite double through; an infinity or NaN (overflow, division
// by zero, invalid operation) is a fault.
double Checked(double x);

// Nearest whole number, ties to even, as a 32-bit or 64-bit integer.
std::int32_t Int32(double x);
std::int64_t Int64(double x);
inline std::int32_t Int32(Money m) { return m.ToInt32(); }
inline std::int64_t Int64(Money m) { return m.ToInt64(); }

std::int32_t Add32(std::int32_t a, std::int32_t b);
std::int32_t Sub32(std::int32_t a, std::int32_t b);
std::int64_t Add64(std::int64_t a, std::int64_t b);
std::int64_t Sub64(std::int64_t a, std::int64_t b);

}  // namespace zr
