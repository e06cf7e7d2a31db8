#pragma once
// The plot of one run: cost and savings curves over the chart points, the
// frame, the time marks, the value marks and the unit caption.

#include <cstdint>
#include <optional>
#include <span>

#include "chart_operation.h"

namespace zr {

inline constexpr int kChartPointCount = 100;

// Levelised yearly cost and savings of one chart point, whole Ft.
struct ChartPoint {
  std::int32_t cost = 0;
  std::int32_t savings = 0;
  friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};

// x of chart point k (1-based): 558 for the first, 6300 for the hundredth.
int ChartPointX(int k);

// y of a value on the value axis; `chart_scale` sits at the top (y 100),
// zero on the time axis (y 3350). `chart_scale` must not be zero.
double ValueToY(double value, double chart_scale);

// A curve vertex: rounded to the nearest whole twip (halves to even) and
// clamped into the 16-bit range, so that a far-off value leaves the visible
// area instead of breaking the plot.
std::int16_t CurveVertex(double y);

// Ft between two value marks for W = chart scale / 6 (rounded); 0 when W is
// 0 or less, for which there are no value marks.
std::int32_t ScaleStep(std::int32_t w);

// The plot's operations (everything after the run's clear and pen width).
// `points` are the chart points evaluated so far, at most 100, in order;
// `chart_scale` is the one-year total cost, absent when the first point
// could not be evaluated; `elettartam` is the period studied, in years.
ChartOperations PlotChart(std::span<const ChartPoint> points,
                          std::optional<std::int32_t> chart_scale, double elettartam);

// The parts of a plot, for charts that draw several runs' curves on one
// scale. A curve's segments follow one another, each starting where the one
// before it ended, so a dash pattern runs on along the curve.
enum class ChartCurve { kCost, kSavings };
void AppendCurve(ChartOperations& ops, std::span<const ChartPoint> points, std::int32_t chart_scale,
                 ChartCurve curve);
// Everything PlotChart draws after its curves: the frame, the time marks,
// the value marks and the unit caption.
void AppendPlotFrameAndMarks(ChartOperations& ops, std::optional<std::int32_t> chart_scale,
                             double elettartam);

}  // namespace zr
