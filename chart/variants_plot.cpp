#include "variants_plot.h"

#include <algorithm>

#include "chart_geometry.h"

namespace zr {
namespace {

// The legend: one row per variant at the top right, a stretch of line in the
// variant's style followed by its name.
constexpr float kLegendLineLeft = 3300;
constexpr float kLegendLineRight = 3900;
constexpr float kLegendNameX = 4000;
constexpr float kLegendTop = 100;
constexpr float kLegendRow = 210;
constexpr float kLegendLineDrop = 110;  // from the top of a row to its line

}  // namespace

const std::vector<float>& VariantDash(std::size_t index) {
  static const std::vector<float> kDashes[kMaxVariantCurves] = {{}, {8, 4}, {2, 3}, {9, 3, 2, 3}};
  return kDashes[std::min(index, kMaxVariantCurves - 1)];
}

std::string LegendName(const std::string& name) {
  std::size_t points = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    // Count the first byte of each code point only.
    if ((static_cast<unsigned char>(name[i]) & 0xC0) == 0x80) continue;
    if (points == kLegendNameLength) return name.substr(0, i) + "\u2026";
    ++points;
  }
  return name;
}

ChartOperations PlotVariants(std::span<const VariantCurves> variants, double elettartam) {
  const std::size_t count = std::min(variants.size(), kMaxVariantCurves);
  std::optional<std::int32_t> scale;
  for (std::size_t i = 0; i < count; ++i) {
    if (variants[i].points.empty()) continue;
    const std::int32_t first = variants[i].points.front().cost;
    if (!scale || first > *scale) scale = first;
  }
  ChartOperations ops;
  if (scale && *scale != 0) {
    for (std::size_t i = 0; i < count; ++i) {
      ops.emplace_back(LineDash{VariantDash(i)});
      // Savings first, so the cost curves lie on top where they meet.
      AppendCurve(ops, variants[i].points, *scale, ChartCurve::kSavings);
      AppendCurve(ops, variants[i].points, *scale, ChartCurve::kCost);
    }
  }
  for (std::size_t i = 0; i < count; ++i) {
    const float top = kLegendTop + kLegendRow * static_cast<float>(i);
    ops.emplace_back(LineDash{VariantDash(i)});
    ops.emplace_back(Line{kLegendLineLeft, top + kLegendLineDrop, kLegendLineRight,
                          top + kLegendLineDrop, kBlack});
    ops.emplace_back(ForeColor{kBlack});
    ops.emplace_back(CurrentX{kLegendNameX});
    ops.emplace_back(CurrentY{top});
    ops.emplace_back(FontName{""});
    ops.emplace_back(Print{LegendName(variants[i].name)});
  }
  // The axes and marks solid, as in the single chart.
  ops.emplace_back(LineDash{});
  AppendPlotFrameAndMarks(ops, scale, elettartam);
  return ops;
}

}  // namespace zr
