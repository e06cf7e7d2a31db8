#include "variants_plot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "chart_frame.h"

namespace zr {
namespace {

// A flat curve pair of `count` points: cost `cost`, savings `savings`.
VariantCurves Flat(std::string name, std::int32_t cost, std::int32_t savings, int count = 100) {
  return {std::move(name),
          std::vector<ChartPoint>(static_cast<std::size_t>(count), {cost, savings})};
}

std::vector<std::string> Texts(const ChartOperations& ops) {
  std::vector<std::string> texts;
  for (const ChartOperation& op : ops) {
    if (const Print* p = std::get_if<Print>(&op)) {
      if (const auto* t = std::get_if<std::string>(&p->value)) texts.push_back(*t);
    }
  }
  return texts;
}

TEST(VariantsPlot, EachVariantItsDashTheLargestScaleAndALegend) {
  const std::vector<VariantCurves> variants = {Flat("A", 600000, 300000),
                                               Flat("B", 1200000, 300000, 40), Flat("C", 0, 0, 0)};
  const ChartOperations ops = PlotVariants(variants, 25);
  // Per variant: its dash, then its savings and cost curves (99 segments
  // each, or as many as its points allow), each starting where the last
  // segment ended.
  std::vector<std::vector<float>> dashes;
  std::vector<std::vector<Line>> curves;
  for (const ChartOperation& op : ops) {
    if (const LineDash* d = std::get_if<LineDash>(&op)) {
      dashes.push_back(d->pattern);
      curves.emplace_back();
    } else if (const Line* l = std::get_if<Line>(&op); l && !curves.empty()) {
      curves.back().push_back(*l);
    }
  }
  ASSERT_GE(dashes.size(), 3u);
  EXPECT_EQ(dashes[0], VariantDash(0));
  EXPECT_TRUE(dashes[0].empty());
  EXPECT_EQ(dashes[1], VariantDash(1));
  EXPECT_NE(VariantDash(1), VariantDash(2));
  EXPECT_EQ(curves[0].size(), 2u * 99);
  EXPECT_EQ(curves[1].size(), 2u * 39);
  EXPECT_TRUE(curves[2].empty());
  for (std::size_t i = 1; i < 99; ++i) {
    EXPECT_EQ(curves[0][i].x1, curves[0][i - 1].x2);
    EXPECT_EQ(curves[0][i].y1, curves[0][i - 1].y2);
  }
  // The scale is B's one-year cost: B's cost at the top, A's halfway.
  EXPECT_EQ(curves[1].back().y2, 100);
  EXPECT_EQ(curves[0].back().y2, 3350 - 3250 / 2);
  EXPECT_EQ(curves[0].front().color, kSavingsColor);
  EXPECT_EQ(curves[0].back().color, kCostColor);
  // The legend names each variant; the axes and marks are solid again.
  const std::vector<std::string> texts = Texts(ops);
  EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 3),
            (std::vector<std::string>{"A", "B", "C"}));
  const ChartOperations frame = DrawChartFrame();
  const auto last_dash = std::find_if(ops.rbegin(), ops.rend(), [](const ChartOperation& op) {
    return std::holds_alternative<LineDash>(op);
  });
  ASSERT_NE(last_dash, ops.rend());
  EXPECT_EQ(*last_dash, ChartOperation{LineDash{}});
  EXPECT_TRUE(std::equal(frame.begin(), frame.end(), last_dash.base()));
  EXPECT_EQ(ops.back(), ChartOperation{Print{std::string("(ezer Ft)")}});
}

TEST(VariantsPlot, LongNamesAreCutInTheLegend) {
  EXPECT_EQ(LegendName("Ajánlat"), "Ajánlat");
  EXPECT_EQ(LegendName(std::string(24, 'x')), std::string(24, 'x'));
  EXPECT_EQ(LegendName("ő" + std::string(30, 'x')), "ő" + std::string(23, 'x') + "…");
}

TEST(VariantsPlot, NoCurvesStillDrawsTheFrameAndLegend) {
  const std::vector<VariantCurves> variants = {Flat("A", 0, 0, 0), Flat("B", 0, 0, 0)};
  const ChartOperations ops = PlotVariants(variants, 20);
  EXPECT_EQ(Texts(ops).front(), "A");
  EXPECT_EQ(ops.back(), ChartOperation{Print{std::string("(ezer Ft)")}});
}

}  // namespace
}  // namespace zr
