#include "payback.h"

#include "arithmetic_fault.h"
#include "balance_estimate.h"
#include "checked_math.h"

namespace zr {

bool SavingsReachCost(const PeriodModel& model, Money t) {
  try {
    const WidePeriodFigures p = WidePeriodEvaluation(model, t);
    return Sub64(p.Megtakariteves, p.Osszeskolts) >= 0;
  } catch (const ArithmeticFault&) {
    // Beyond what the arithmetic can hold the comparison has no answer;
    // a later period may still have one.
    return false;
  }
}

std::optional<Money> PaybackSearch(const PeriodModel& model) {
  const Money step = Money::FromRaw(100);  // 0.01 year
  const Money last = MoneyOf(100);
  Money t = Money::FromRaw(1000);  // 0.1 year
  Money payback = MoneyOf(0);
  // Most periods fall far short of paying back: the estimate settles those
  // without their powers, and only the few near the crossing (or where the
  // arithmetic runs out) are evaluated exactly.
  GridBalanceEstimator estimate(model, t, step);
  // Savings that never catch up with the cost would keep the search going
  // for ever; a century is the end of the grid.
  while (t <= last) {
    const bool reached = !estimate.Next().CertainlyShort() && SavingsReachCost(model, t);
    t = t + step;
    if (reached) return payback;
    payback = t;
  }
  return std::nullopt;
}

}  // namespace zr
