#include "period_series.h"

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

}  // namespace zr
