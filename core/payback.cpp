#include "payback.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

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
  return PaybackSearch(model, ModelBounds(model));
}

std::optional<Money> PaybackSearch(const PeriodModel& model, const ModelBounds& bounds) {
  // The grid in hundredths of a year, 0.10 ... 100.00: a century is the
  // end, or savings that never catch up would keep the search going.
  constexpr std::int64_t kFirst = 10;
  constexpr std::int64_t kLast = 10000;
  const auto period = [](std::int64_t n) { return Money::FromRaw(n * 100); };
  // Most periods fall far short of paying back. The bound settles them a
  // stretch [c, c + 2^j] at a time; the stretches share their ends, whose
  // powers are carried from one to the next. A stretch that is not
  // settled is halved; a settled one is followed by one twice as long, or,
  // right after one that was not settled, by one half as long (the
  // crossing lies within the one that failed). Single periods left
  // unsettled are evaluated exactly. Where the walk starts comes from a
  // guess in doubles of where the balance turns; a guess that is off costs
  // a few more stretches, never the answer: only the bound and the exact
  // evaluation decide anything.
  const IntervalBalanceBound& bound = bounds.balance;
  const FactorBounds& factors = bound.factors();
  const GridSteps& steps = bounds.steps;
  std::int64_t s = kFirst;  // the first period not settled
  std::int64_t c = kFirst;  // s or s - 1, with its factors
  PeriodFactors at_c = factors.At(period(c));
  // Where all the grid does not settle at once, a stretch of about 20
  // years is the first to try: longer ones mostly fail as well.
  int j = 11;
  bool after_failure = false;
  // Settles [c, end] if it can, and goes on from there.
  const auto settle = [&](std::int64_t end) {
    const PeriodFactors at_end = factors.At(period(end));
    if (!bound.CertainlyShort(at_c, at_end)) return false;
    c = end;
    at_c = at_end;
    s = end + 1;
    j = 0;
    return true;
  };

  const double first = Dbl(period(kFirst));
  const double last = Dbl(period(kLast));
  const IntervalBalanceBound::Expected course = bound.ExpectedCourse(first, last);
  const double expected = course.crossing;
  if (expected > first && expected < last) {  // false for NaN
    // Everything before the period where the balance is expected to turn
    // at one go (or, if that is too close to call, up to three periods
    // before it), and that period itself exactly.
    const auto turn = static_cast<std::int64_t>(std::ceil(expected * 100));
    for (const std::int64_t aim : {turn - 1, turn - 3}) {
      if (aim <= kFirst || settle(aim)) break;
    }
    if (s == turn && SavingsReachCost(model, period(s))) return period(s);
  }
  // Savings that never catch up are most often settled at one go, unless
  // the balance is expected to rise and fall again.
  if (c == kFirst && !course.peaks && bound.CertainlyShort(at_c, factors.At(period(kLast)))) {
    return std::nullopt;
  }
  while (s <= kLast) {
    if (j >= 0) {
      const std::int64_t end = c + (std::int64_t{1} << j);
      const PeriodFactors at_end = factors.At(period(end), steps.Carry(at_c.powers, j));
      if (bound.CertainlyShort(at_c, at_end)) {
        c = end;
        at_c = at_end;
        s = end + 1;
        j = after_failure ? j - 1 : std::min(j + 1, GridSteps::kMaxStep);
        after_failure = false;
      } else {
        after_failure = true;
        --j;
      }
      continue;
    }
    // The single period s, by its bound or else exactly.
    if (c < s) {
      at_c = factors.At(period(s), steps.Carry(at_c.powers, 0));
      c = s;
    }
    if (!bound.CertainlyShort(at_c, at_c) && SavingsReachCost(model, period(s))) {
      return s == kFirst ? MoneyOf(0) : period(s);
    }
    ++s;
    j = 0;
    after_failure = false;
  }
  return std::nullopt;
}

}  // namespace zr
