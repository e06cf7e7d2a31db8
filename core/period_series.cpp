#include "period_series.h"

#include <algorithm>
#include <cmath>

#include "arithmetic_fault.h"
#include "balance_estimate.h"
#include "checked_math.h"

namespace zr {

Money PeriodLength(int k, Money elettartam) {
  if (k == 1) return MoneyOf(1);
  return Money::FromDouble(Checked(1 + Checked(k * Checked(Dbl(elettartam) / 100))));
}

void EvaluatePeriodSeries(const PeriodModel& model, Money elettartam, PeriodSeries& series) {
  series.points.reserve(kChartPointCount);
  for (int k = 1; k <= kChartPointCount; ++k) {
    const PeriodFigures p = PeriodEvaluation(model, PeriodLength(k, elettartam));
    series.points.push_back({p.Osszeskolts, p.Megtakariteves});
    if (k == 1) series.ChartScale = p.Osszeskolts;
  }
}

bool SeriesCertainlyFits(const PeriodModel& model, Money elettartam) {
  return SeriesCertainlyFits(model, elettartam, ModelBounds(model));
}

bool SeriesCertainlyFits(const PeriodModel& model, Money elettartam, const ModelBounds& bounds) {
  // The periods rise from 1 year (point 1) to the last point's.
  if (elettartam < MoneyOf(0)) return false;
  Money last;
  try {
    last = PeriodLength(kChartPointCount, elettartam);
  } catch (const ArithmeticFault&) {
    return false;
  }
  const FactorBounds& factors = bounds.balance.factors();
  const FactorRange range = factors.Over(factors.At(MoneyOf(1)), factors.At(last));
  if (!range.known) return false;
  // A figure is X (f ⊗ a) with f and a rounded to 4 decimals, the product
  // to 4 decimals, then to 4 decimals again and to whole Ft: at most
  // |X| ((|f| + h) (|a| + h) + h) + h + ½; the capital cost |V'| (|a| + h) + ½.
  constexpr double h = 0.5e-4;
  const double a = std::max(std::fabs(range.a_lo), std::fabs(range.a_hi)) + h;
  const auto amount = [&](Money X, int growth) {
    const double f = std::max(std::fabs(range.p_lo[growth]), std::fabs(range.p_hi[growth])) + h;
    return std::fabs(Dbl(X)) * (f * a + h) + h + 0.5;
  };
  const double cost = std::fabs(model.capital) * a + 0.5 + amount(model.K1, model.K_growth) +
                      amount(model.U1, model.U_growth) + amount(model.E1, model.E_growth);
  const double savings = amount(model.S1, model.S_growth);
  // Half the 32-bit range, far beyond every rounding of these bounds; each
  // figure, and each partial sum of the total cost, is below `cost`.
  constexpr double kLimit = 0x1p30;
  return cost < kLimit && savings < kLimit;
}

}  // namespace zr
