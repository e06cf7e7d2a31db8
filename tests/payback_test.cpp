#include "payback.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "arithmetic_fault.h"
#include "number_text.h"
#include "period_series.h"
#include "test_inputs.h"

namespace zr {
namespace {

const NumberFormat kHu = NumberFormat::Hungarian();

PeriodModel ChartModel(test::TextChanges changes, InputSet* inputs = nullptr) {
  const InputSet in = test::InputsWith(changes);
  if (inputs) *inputs = in;
  return test::ChartModel(in);
}
using test::M;

TEST(PaybackSearch, FindsTheFirstGridPeriodWhereSavingsReachCost) {
  const PeriodModel m = ChartModel({});
  const PeriodFigures before = PeriodEvaluation(m, M("16,67"));
  const PeriodFigures at = PeriodEvaluation(m, M("16,68"));
  EXPECT_EQ(before.Megtakariteves - before.Osszeskolts, -24);
  EXPECT_EQ(at.Megtakariteves - at.Osszeskolts, 34);
  EXPECT_EQ(PaybackSearch(m), M("16,68"));
}

struct PaybackCase {
  const char* name;
  test::TextChanges changes;
  std::optional<const char*> expected;
};

class PaybackScenario : public ::testing::TestWithParam<PaybackCase> {};

TEST_P(PaybackScenario, GivesTheExpectedPeriod) {
  const std::optional<Money> payback = PaybackSearch(ChartModel(GetParam().changes));
  if (GetParam().expected) {
    ASSERT_TRUE(payback);
    EXPECT_EQ(*payback, M(*GetParam().expected));
  } else {
    EXPECT_FALSE(payback);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, PaybackScenario,
    ::testing::Values(PaybackCase{"HalfSubsidy", {{Field::Tamogatas, "50"}}, "8,07"},
                      PaybackCase{"ResidualValue20", {{Field::Maradvanyertek, "20"}}, "13,42"},
                      PaybackCase{
                          "MaintenanceRiseEqualsInterest", {{Field::Karbkoltsvalt, "6"}}, "16,93"},
                      // Already there at the first period: shown as 0.
                      PaybackCase{"FullSubsidy", {{Field::Tamogatas, "100"}}, "0"},
                      // Savings tend to 72000, cost to about 80900: never.
                      PaybackCase{"NoPriceRise", {{Field::Energiaarvalt, "0"}}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PeriodSeries, LengthsStepByAHundredthOfThePeriod) {
  EXPECT_EQ(PeriodLength(1, M("25")), M("1"));
  EXPECT_EQ(PeriodLength(2, M("25")), M("1,5"));
  EXPECT_EQ(PeriodLength(3, M("25")), M("1,75"));
  EXPECT_EQ(PeriodLength(100, M("25")), M("26"));
  EXPECT_EQ(PeriodLength(2, M("1")), M("1,02"));
  EXPECT_EQ(PeriodLength(100, M("1")), M("2"));
  EXPECT_EQ(PeriodLength(7, M("33,3333")), M("3,3333"));
}

TEST(PeriodSeries, StartupSeriesAndScale) {
  InputSet in;
  const PeriodModel m = ChartModel({}, &in);
  PeriodSeries series;
  EvaluatePeriodSeries(m, in.Elettartam, series);
  ASSERT_EQ(series.points.size(), 100u);
  EXPECT_EQ(series.ChartScale, 1070456);
  EXPECT_EQ(series.points[0], (ChartPoint{1070456, 72000}));
  EXPECT_EQ(series.points[1], (ChartPoint{727431, 73044}));
  EXPECT_EQ(series.points[99], (ChartPoint{90996, 135806}));
}

TEST(PeriodSeries, AFaultingPointKeepsThePointsBeforeIt) {
  // Savings rising 100 % a year at 1 % interest leave 32 bits at long periods.
  InputSet in;
  const PeriodModel m = ChartModel(
      {{Field::Elettartam, "50"}, {Field::Kamatlab, "1"}, {Field::Energiaarvalt, "100"}}, &in);
  PeriodSeries series;
  EXPECT_THROW(EvaluatePeriodSeries(m, in.Elettartam, series), ArithmeticFault);
  EXPECT_GT(series.points.size(), 1u);
  EXPECT_LT(series.points.size(), 100u);
  EXPECT_TRUE(series.ChartScale);
}

}  // namespace
}  // namespace zr
