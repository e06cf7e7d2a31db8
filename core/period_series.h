#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "balance_estimate.h"
#include "cash_flow_plot.h"
#include "economics.h"

namespace zr {

// Period length of chart point k (1-based): 1 year for the first, then
// 1 + k × Elettartam / 100.
Money PeriodLength(int k, Money elettartam);

struct PeriodSeries {
  std::vector<ChartPoint> points;
  std::optional<std::int32_t> ChartScale;  // one-year total cost, from point 1
};

// Evaluates the chart points in order into `series`. When a point faults
// the exception propagates, and `series` keeps the points before it.
void EvaluatePeriodSeries(const PeriodModel& model, Money elettartam, PeriodSeries& series);

// Whether every chart point certainly evaluates without a fault, judged
// from bounds of the factors over all the chart's periods at once (two
// powers per factor instead of a hundred). A run whose chart nobody draws
// then skips the points. False only says that the points must be
// evaluated to know.
bool SeriesCertainlyFits(const PeriodModel& model, Money elettartam);
bool SeriesCertainlyFits(const PeriodModel& model, Money elettartam, const ModelBounds& bounds);

}  // namespace zr
