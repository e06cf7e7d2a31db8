#include "cash_flow_plot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "chart_frame.h"

namespace zr {

namespace {

constexpr std::int32_t kStartUpScale = 1070456;

template <class T>
long Count(const ChartOperations& ops) {
  return std::count_if(ops.begin(), ops.end(),
                       [](const ChartOperation& op) { return std::holds_alternative<T>(op); });
}

struct Mark {
  Line line;
  float x = 0, y = 0;
  Print label;
};

// A plot cut into its sections; marks are Line, CurrentX, CurrentY, FontName,
// Print groups, told apart by the kind of number they print.
struct Plot {
  std::vector<Line> curves;
  ChartOperations frame;
  std::vector<Mark> time_marks, value_marks;
  ChartOperations caption;
};

Plot Split(const ChartOperations& ops) {
  Plot plot;
  std::size_t i = 0;
  for (; i < ops.size(); ++i) {  // curve segments are the leading coloured lines
    const Line* line = std::get_if<Line>(&ops[i]);
    if (line == nullptr || line->color == kBlack) break;
    plot.curves.push_back(*line);
  }
  const std::size_t frame_size = DrawChartFrame().size();
  if (ops.size() < i + frame_size + 5) {
    ADD_FAILURE() << "plot too short: " << ops.size();
    return plot;
  }
  plot.frame.assign(ops.begin() + i, ops.begin() + i + frame_size);
  plot.caption.assign(ops.end() - 5, ops.end());
  for (i += frame_size; i + 5 <= ops.size() - 5; i += 5) {
    const auto* line = std::get_if<Line>(&ops[i]);
    const auto* x = std::get_if<CurrentX>(&ops[i + 1]);
    const auto* y = std::get_if<CurrentY>(&ops[i + 2]);
    const auto* font = std::get_if<FontName>(&ops[i + 3]);
    const auto* label = std::get_if<Print>(&ops[i + 4]);
    if (!line || !x || !y || !font || !label || !font->name.empty()) {
      ADD_FAILURE() << "malformed mark at operation " << i;
      return plot;
    }
    const bool is_time = std::holds_alternative<std::int16_t>(label->value);
    EXPECT_FALSE(is_time && !plot.value_marks.empty()) << "time mark after value marks";
    (is_time ? plot.time_marks : plot.value_marks).push_back({*line, x->x, y->y, *label});
  }
  EXPECT_EQ(i, ops.size() - 5) << "operations left between the marks and the caption";
  return plot;
}

// Points 1, 2 and 100 of the start-up run are known; the test joins 2 and 100
// linearly, which only moves the middle of the curves.
std::vector<ChartPoint> StartUpPoints() {
  std::vector<ChartPoint> p(kChartPointCount);
  p[0] = {kStartUpScale, 72000};
  p[1] = {727431, 73044};
  p[99] = {90996, 135806};
  for (int k = 2; k < 99; ++k) {
    const double f = (k - 1) / 98.0;
    p[k] = {static_cast<std::int32_t>(p[1].cost + f * (p[99].cost - p[1].cost)),
            static_cast<std::int32_t>(p[1].savings + f * (p[99].savings - p[1].savings))};
  }
  return p;
}

std::int16_t Number(const Mark& m) { return std::get<std::int16_t>(m.label.value); }
double Amount(const Mark& m) { return std::get<double>(m.label.value); }
std::string Text(const ChartOperations& caption) {
  return std::get<std::string>(std::get<Print>(caption.back()).value);
}

TEST(CashFlowPlot, StartUpChart) {
  const std::vector<ChartPoint> points = StartUpPoints();
  const Plot plot = Split(PlotChart(points, kStartUpScale, 25));

  ASSERT_EQ(plot.curves.size(), 198u);
  EXPECT_EQ(plot.curves[0], (Line{558, 3131, 616, 3128, kSavingsColor}));
  EXPECT_EQ(plot.curves[1], (Line{558, 100, 616, 1141, kCostColor}));
  EXPECT_EQ(plot.curves[196].x2, 6300);
  EXPECT_EQ(plot.curves[196].y2, 2938);
  EXPECT_EQ(plot.curves[197].x2, 6300);
  EXPECT_EQ(plot.curves[197].y2, 3074);
  for (std::size_t i = 0; i < plot.curves.size(); ++i) {
    EXPECT_EQ(plot.curves[i].color, i % 2 == 0 ? kSavingsColor : kCostColor) << i;
    if (i >= 2) {  // each segment starts where the same curve's previous one ended
      EXPECT_EQ(plot.curves[i].x1, plot.curves[i - 2].x2) << i;
      EXPECT_EQ(plot.curves[i].y1, plot.curves[i - 2].y2) << i;
    }
  }

  const float mark_x[] = {1428, 2588, 3748, 4908};
  ASSERT_EQ(plot.time_marks.size(), 4u);
  for (std::size_t j = 0; j < 4; ++j) {
    const Mark& m = plot.time_marks[j];
    EXPECT_EQ(Number(m), 5 * static_cast<int>(j + 1));
    EXPECT_FLOAT_EQ(m.line.x1, mark_x[j]);
    EXPECT_FLOAT_EQ(m.line.x2, mark_x[j]);
    EXPECT_EQ(m.line.y1, 3350);
    EXPECT_EQ(m.line.y2, 3400);
    EXPECT_FLOAT_EQ(m.x, mark_x[j] - 100);
    EXPECT_EQ(m.y, 3450);
  }

  ASSERT_EQ(plot.value_marks.size(), 5u);
  for (std::size_t j = 0; j < 5; ++j) EXPECT_EQ(Amount(plot.value_marks[j]), 200.0 * (j + 1));
  const Mark& first = plot.value_marks[0];
  EXPECT_EQ(first.line.x1, 450);
  EXPECT_EQ(first.line.x2, 500);
  EXPECT_NEAR(first.line.y1, 2842.78, 0.005);
  EXPECT_EQ(first.line.y2, first.line.y1);
  EXPECT_EQ(first.x, 20);
  EXPECT_NEAR(first.y, 2742.78, 0.005);

  EXPECT_EQ(plot.caption, (ChartOperations{ForeColor{kBlack}, CurrentX{1000}, CurrentY{300},
                                           FontName{""}, Print{std::string("(ezer Ft)")}}));
}

TEST(CashFlowPlot, FrameIsTheSameWhateverTheInputs) {
  const std::vector<ChartPoint> points = StartUpPoints();
  const std::span<const ChartPoint> all(points);
  struct Case {
    std::span<const ChartPoint> points;
    std::optional<std::int32_t> scale;
    double elettartam;
  };
  for (const Case& c : {Case{all, kStartUpScale, 25}, Case{all.first(40), kStartUpScale, 50},
                        Case{all, std::nullopt, 1}, Case{{}, 0, 4},
                        Case{all, std::numeric_limits<std::int32_t>::max(), 12.5}}) {
    EXPECT_EQ(Split(PlotChart(c.points, c.scale, c.elettartam)).frame, DrawChartFrame());
  }
}

struct TimeCase {
  const char* name;
  double elettartam;
  std::size_t marks;
  float last_x;
};
class TimeMarks : public testing::TestWithParam<TimeCase> {};

TEST_P(TimeMarks, NumberedEveryFiveYearsLeftOfTheCaption) {
  const TimeCase& c = GetParam();
  const std::vector<Mark> marks = Split(PlotChart({}, std::nullopt, c.elettartam)).time_marks;
  ASSERT_EQ(marks.size(), c.marks);
  for (std::size_t j = 0; j < marks.size(); ++j)
    EXPECT_EQ(Number(marks[j]), 5 * static_cast<int>(j + 1));
  if (!marks.empty()) {
    EXPECT_FLOAT_EQ(marks.back().line.x1, c.last_x);
  }
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
INSTANTIATE_TEST_SUITE_P(
    Periods, TimeMarks,
    testing::Values(TimeCase{"Fifty", 50, 9, 5604}, TimeCase{"TwentyFive", 25, 4, 4908},
                    TimeCase{"Twenty", 20, 3, 4560}, TimeCase{"Four", 4, 0, 0},
                    // The 20-year mark of a 21-year period starts its number at 5647.6,
                    // left of 5700: drawn. Of a 20.7-year period at 5723.7: not drawn.
                    TimeCase{"NumberJustLeftOfTheLimit", 21, 4, 5747.619f},
                    TimeCase{"NumberJustPastTheLimit", 20.7, 3, 4422.7051f},
                    // Unvalidated periods end without marks, or at the 16-bit year limit.
                    TimeCase{"Zero", 0, 0, 0}, TimeCase{"Negative", -3, 0, 0},
                    TimeCase{"NaN", kNaN, 0, 0}, TimeCase{"Infinite", kInf, 0, 0},
                    TimeCase{"Huge", 1e15, 6553, 500}),
    [](const auto& info) { return std::string(info.param.name); });

struct ScaleCase {
  const char* name;
  std::optional<std::int32_t> scale;
  std::size_t marks;
  double first, last;
  const char* unit;
};
class ValueMarks : public testing::TestWithParam<ScaleCase> {};

TEST_P(ValueMarks, StepFromTheScaleAndUnitCaption) {
  const ScaleCase& c = GetParam();
  const std::vector<ChartPoint> points = StartUpPoints();
  const Plot plot = Split(PlotChart(points, c.scale, 25));
  EXPECT_EQ(plot.curves.size(), c.scale.value_or(0) != 0 ? 198u : 0u);
  EXPECT_EQ(plot.time_marks.size(), 4u);
  ASSERT_EQ(plot.value_marks.size(), c.marks);
  if (c.marks > 0) {
    EXPECT_EQ(Amount(plot.value_marks.front()), c.first);
    EXPECT_EQ(Amount(plot.value_marks.back()), c.last);
  }
  EXPECT_EQ(Text(plot.caption), c.unit);
}

INSTANTIATE_TEST_SUITE_P(
    Scales, ValueMarks,
    testing::Values(ScaleCase{"NineMarks", 450000, 9, 50, 450, "(ezer Ft)"},
                    // W 75000.5 rounds to even 75000; W 75000.67 to 75001.
                    ScaleCase{"TieRoundsToEven", 450003, 9, 50, 450, "(ezer Ft)"},
                    ScaleCase{"NextStep", 450004, 4, 100, 400, "(ezer Ft)"},
                    ScaleCase{"Millions", 6000000, 6, 1, 6, "(millió Ft)"},
                    ScaleCase{"BelowTheFirstStep", 49999, 0, 0, 0, "(ezer Ft)"},
                    // The 215th mark would be 2150000000, beyond 32 bits.
                    ScaleCase{"Largest", std::numeric_limits<std::int32_t>::max(), 214, 10, 2140,
                              "(millió Ft)"},
                    ScaleCase{"Three", 3, 0, 0, 0, "(ezer Ft)"},
                    ScaleCase{"Zero", 0, 0, 0, 0, "(ezer Ft)"},
                    ScaleCase{"None", std::nullopt, 0, 0, 0, "(ezer Ft)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CashFlowPlot, MarkAtExactlyTheScaleStandsAtTheTop) {
  const Plot plot = Split(PlotChart({}, 450000, 25));
  ASSERT_EQ(plot.value_marks.size(), 9u);
  EXPECT_FLOAT_EQ(plot.value_marks[8].line.y1, 200);
  EXPECT_FLOAT_EQ(plot.value_marks[8].y, 100);
}

TEST(CashFlowPlot, PartialSeriesDrawsTheSegmentsItHas) {
  const std::vector<ChartPoint> points = StartUpPoints();
  const ChartOperations ops = PlotChart(std::span(points).first(40), kStartUpScale, 25);
  const Plot plot = Split(ops);
  ASSERT_EQ(plot.curves.size(), 78u);
  EXPECT_EQ(plot.curves.back().x2, ChartPointX(40));
  EXPECT_EQ(plot.time_marks.size(), 4u);
  EXPECT_EQ(plot.value_marks.size(), 5u);
  EXPECT_EQ(Text(plot.caption), "(ezer Ft)");
  EXPECT_EQ(Count<Line>(ops), 78 + 2 + 4 + 5);
  EXPECT_EQ(Count<Print>(ops), 4 + 4 + 5 + 1);
}

TEST(CashFlowPlot, FarOffValueLeavesTheAreaAndTheCurveGoesOn) {
  std::vector<ChartPoint> points = StartUpPoints();
  points[49].savings = 20 * kStartUpScale;  // y about -61650
  points[50].cost = -11 * kStartUpScale;    // y about 39100
  const Plot plot = Split(PlotChart(points, kStartUpScale, 25));
  ASSERT_EQ(plot.curves.size(), 198u);
  EXPECT_EQ(plot.curves[2 * 48].y2, -32768);
  EXPECT_EQ(plot.curves[2 * 49].y1, -32768);
  EXPECT_EQ(plot.curves[2 * 49 + 1].y2, 32767);
  EXPECT_EQ(plot.curves[197].y2, 3074);
}

TEST(CurveVertex, RoundsHalvesToEvenAndClampsTo16Bits) {
  const std::pair<double, int> cases[] = {
      {3131.5, 3132},   {3130.5, 3130},   {3131.4, 3131}, {-1.5, -2},    {-0.5, 0},
      {32767.4, 32767}, {32767.5, 32767}, {1e9, 32767},   {kInf, 32767}, {-32768.5, -32768},
      {-32769, -32768}, {-kInf, -32768},  {kNaN, 0}};
  for (const auto& [y, expected] : cases) EXPECT_EQ(CurveVertex(y), expected) << y;
}

TEST(ScaleStep, TableBoundaries) {
  const std::pair<std::int32_t, std::int32_t> cases[] = {
      {std::numeric_limits<std::int32_t>::min(), 0},
      {-1, 0},
      {0, 0},
      {1, 50000},
      {75000, 50000},
      {75001, 100000},
      {150000, 100000},
      {150001, 200000},
      {350000, 200000},
      {350001, 500000},
      {750000, 500000},
      {750001, 1000000},
      {1500000, 1000000},
      {1500001, 2000000},
      {3500000, 2000000},
      {3500001, 5000000},
      {7500000, 5000000},
      {7500001, 10000000},
      {std::numeric_limits<std::int32_t>::max(), 10000000}};
  for (const auto& [w, step] : cases) EXPECT_EQ(ScaleStep(w), step) << w;
}

}  // namespace
}  // namespace zr
