#pragma once
// The chart of a comparison: every variant's cost and savings curves on one
// scale and one time axis, in the single chart's colours, each variant in a
// line style of its own, with a legend that names the variant of each style.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cash_flow_plot.h"
#include "chart_operation.h"

namespace zr {

inline constexpr std::size_t kMaxVariantCurves = 4;

// The dash pattern of the variant at `index` (0-based, below
// kMaxVariantCurves): solid, dashed, dotted, dash-dotted.
const std::vector<float>& VariantDash(std::size_t index);

struct VariantCurves {
  std::string name;
  // The chart points over the common period lengths, in order; fewer than
  // 100 when a point could not be evaluated, none when the run stopped
  // before its chart.
  std::vector<ChartPoint> points;
};

// The legend shows at most this many characters (UTF-8 code points) of a
// name, the rest as "…", so four names keep off the curves' right part.
inline constexpr std::size_t kLegendNameLength = 24;
std::string LegendName(const std::string& name);

// The operations after the run's clear and pen width. The scale is the
// largest one-year cost among the variants, so that every curve's start
// stands inside the chart; `elettartam` is the common period studied (the
// longest of the variants'). At most kMaxVariantCurves variants are drawn.
ChartOperations PlotVariants(std::span<const VariantCurves> variants, double elettartam);

}  // namespace zr
