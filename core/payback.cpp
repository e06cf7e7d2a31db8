#include "payback.h"

#include "checked_math.h"

namespace zr {

std::optional<Money> PaybackSearch(const PeriodModel& model) {
  const Money step = Money::FromRaw(100);  // 0.01 year
  const Money last = MoneyOf(100);
  Money t = Money::FromRaw(1000);  // 0.1 year
  Money payback = MoneyOf(0);
  // Savings that never catch up with the cost would keep the search going
  // until its arithmetic overflowed; a century is the end of the grid.
  while (t <= last) {
    const PeriodFigures p = PeriodEvaluation(model, t);
    const std::int32_t balance = Sub32(p.Megtakariteves, p.Osszeskolts);
    t = t + step;
    if (balance >= 0) return payback;
    payback = t;
  }
  return std::nullopt;
}

}  // namespace zr
