#pragma once
// What value of one input makes the installation pay off over the studied
// period: where the yearly balance (Egyenleg) changes sign, the other
// fifteen inputs as they are.

#include <cstdint>
#include <optional>
#include <string>

#include "input_set.h"
#include "money.h"

namespace zr {

// The shown yearly balance of the studied period for these inputs; nullopt
// when it leaves the range of the arithmetic.
std::optional<std::int32_t> BalanceOf(const InputSet& in);

struct BreakEven {
  // On the input's grid of 0.0001 and inside what validation accepts: the
  // balance there is at least 0, and one step further towards the losing
  // side it is negative.
  std::optional<Money> value;
  std::string why;  // in words, when there is no such value
};

// Looks outwards from the input's current value in both directions,
// doubling the step until the sign of the balance differs, then bisects.
// Of the two directions the nearer boundary wins. Inputs without an upper
// bound are searched up to where the arithmetic gives out.
BreakEven BreakEvenValue(const InputSet& in, Field field);

}  // namespace zr
