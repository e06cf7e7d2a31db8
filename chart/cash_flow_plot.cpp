#include "cash_flow_plot.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "chart_frame.h"
#include "chart_geometry.h"

namespace zr {
namespace {

using namespace chart;

constexpr std::int32_t kMillion = 1000000;

void AppendCurves(ChartOperations& ops, std::span<const ChartPoint> points, double scale) {
  // x is a 16-bit coordinate; more points than the chart has would not fit.
  const std::size_t count = std::min(points.size(), static_cast<std::size_t>(kChartPointCount));
  int prev_x = 0;
  std::int16_t prev_sav = 0;
  std::int16_t prev_cost = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const int k = static_cast<int>(i) + 1;
    const int x = ChartPointX(k);
    const std::int16_t sav = CurveVertex(ValueToY(points[i].savings, scale));
    const std::int16_t cost = CurveVertex(ValueToY(points[i].cost, scale));
    if (k > 1) {
      // Savings first, so the cost curve lies on top where they meet.
      ops.emplace_back(Line{static_cast<float>(prev_x), static_cast<float>(prev_sav),
                            static_cast<float>(x), static_cast<float>(sav), kSavingsColor});
      ops.emplace_back(Line{static_cast<float>(prev_x), static_cast<float>(prev_cost),
                            static_cast<float>(x), static_cast<float>(cost), kCostColor});
    }
    prev_x = x;
    prev_sav = sav;
    prev_cost = cost;
  }
}

void AppendTimeMarks(ChartOperations& ops, double elettartam) {
  // A non-positive or non-finite period would give no sensible positions and
  // could keep xl below the limit forever.
  if (!(elettartam > 0) || !std::isfinite(elettartam)) return;
  constexpr int kMaxYears = std::numeric_limits<std::int16_t>::max();
  for (int j = 1; 5 * j <= kMaxYears; ++j) {
    const double offset = (5.0 * j - 1) / elettartam * kTimeSpan;
    const double xl = offset - kMarkTextOffset + kValueAxisX;
    if (xl >= kTimeNumberLimit) break;
    const double xm = offset + kValueAxisX;
    ops.emplace_back(Line{static_cast<float>(xm), kTimeAxisY, static_cast<float>(xm),
                          kTimeAxisY + kMarkLength, kBlack});
    ops.emplace_back(CurrentX{static_cast<float>(xm - kMarkTextOffset)});
    ops.emplace_back(CurrentY{kTimeNumberY});
    ops.emplace_back(FontName{""});
    ops.emplace_back(Print{static_cast<std::int16_t>(5 * j)});
  }
}

void AppendValueMarks(ChartOperations& ops, std::int32_t chart_scale, std::int32_t step) {
  const double divisor = step < kMillion ? 1000.0 : 1000000.0;
  for (std::int32_t j = 1; j <= std::numeric_limits<std::int16_t>::max(); ++j) {
    std::int32_t v = 0;
    // Near the top of the 32-bit range the first value past the scale does
    // not exist; that too ends the marks.
    if (__builtin_mul_overflow(j, step, &v) || v > chart_scale) break;
    const double y = ValueToY(v, chart_scale);
    const auto mark_y = static_cast<float>(y + kMarkTextOffset);
    ops.emplace_back(Line{kValueAxisX - kMarkLength, mark_y, kValueAxisX, mark_y, kBlack});
    ops.emplace_back(CurrentX{kValueNumberX});
    ops.emplace_back(CurrentY{static_cast<float>(y)});
    ops.emplace_back(FontName{""});
    ops.emplace_back(Print{v / divisor});
  }
}

void AppendUnitCaption(ChartOperations& ops, std::int32_t step) {
  ops.emplace_back(ForeColor{kBlack});
  ops.emplace_back(CurrentX{kUnitCaptionX});
  ops.emplace_back(CurrentY{kUnitCaptionY});
  ops.emplace_back(FontName{""});
  ops.emplace_back(Print{std::string(step < kMillion ? "(ezer Ft)" : "(millió Ft)")});
}

}  // namespace

int ChartPointX(int k) { return static_cast<int>(kValueAxisX) + kPointSpacing * k; }

double ValueToY(double value, double chart_scale) {
  return kTimeAxisY - value / chart_scale * kValueSpan;
}

std::int16_t CurveVertex(double y) {
  if (std::isnan(y)) return 0;
  const double r = std::nearbyint(y);  // default rounding mode: halves to even
  if (r <= std::numeric_limits<std::int16_t>::min())
    return std::numeric_limits<std::int16_t>::min();
  if (r >= std::numeric_limits<std::int16_t>::max())
    return std::numeric_limits<std::int16_t>::max();
  return static_cast<std::int16_t>(r);
}

std::int32_t ScaleStep(std::int32_t w) {
  struct Band {
    std::int32_t max_w;
    std::int32_t step;
  };
  static constexpr Band kBands[] = {
      {75000, 50000},     {150000, 100000},   {350000, 200000},   {750000, 500000},
      {1500000, 1000000}, {3500000, 2000000}, {7500000, 5000000},
  };
  if (w <= 0) return 0;
  for (const Band& band : kBands) {
    if (w <= band.max_w) return band.step;
  }
  return 10000000;
}

ChartOperations PlotChart(std::span<const ChartPoint> points,
                          std::optional<std::int32_t> chart_scale, double elettartam) {
  ChartOperations ops;
  // Room for both curves and the fixed parts (about 80 operations), so the
  // operations are not moved over and over while the list grows.
  ops.reserve(2 * kChartPointCount + 96);
  // Without a usable scale there is nothing to map values against; the
  // fixed parts of the chart are still drawn.
  const bool has_scale = chart_scale.has_value() && *chart_scale != 0;
  if (has_scale) AppendCurves(ops, points, *chart_scale);
  AppendPlotFrameAndMarks(ops, chart_scale, elettartam);
  return ops;
}

void AppendCurve(ChartOperations& ops, std::span<const ChartPoint> points, std::int32_t chart_scale,
                 ChartCurve curve) {
  const std::size_t count = std::min(points.size(), static_cast<std::size_t>(kChartPointCount));
  const Color color = curve == ChartCurve::kCost ? kCostColor : kSavingsColor;
  for (std::size_t i = 1; i < count; ++i) {
    const auto y = [&](std::size_t at) {
      const ChartPoint& p = points[at];
      return static_cast<float>(
          CurveVertex(ValueToY(curve == ChartCurve::kCost ? p.cost : p.savings, chart_scale)));
    };
    ops.emplace_back(Line{static_cast<float>(ChartPointX(static_cast<int>(i))), y(i - 1),
                          static_cast<float>(ChartPointX(static_cast<int>(i) + 1)), y(i), color});
  }
}

void AppendPlotFrameAndMarks(ChartOperations& ops, std::optional<std::int32_t> chart_scale,
                             double elettartam) {
  const bool has_scale = chart_scale.has_value() && *chart_scale != 0;
  AppendChartFrame(ops);
  AppendTimeMarks(ops, elettartam);

  std::int32_t step = 0;
  if (has_scale) {
    // |scale / 6| is well inside 32 bits, so the conversion cannot overflow.
    const auto w = static_cast<std::int32_t>(std::nearbyint(*chart_scale / 6.0));
    step = ScaleStep(w);
  }
  if (step > 0) AppendValueMarks(ops, *chart_scale, step);
  AppendUnitCaption(ops, step);
}

}  // namespace zr
