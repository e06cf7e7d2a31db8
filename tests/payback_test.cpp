#include "payback.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "arithmetic_fault.h"
#include "balance_estimate.h"
#include "calculation_run.h"
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

// A slowly rising energy price at 1 % interest, where the curves meet late.
const test::TextChanges kSlowRise = {{Field::Kamatlab, "1"},       {Field::Energiaarvalt, "3"},
                                     {Field::Karbkoltsvalt, "0"},  {Field::Uzemkoltsvalt, "0"},
                                     {Field::Egyebkoltsvalt, "0"}, {Field::Beruhazas, "10000000"}};

// A plant of 300 million Ft: the yearly investment cost of the shortest
// periods leaves 32 bits.
const test::TextChanges kLargePlant = {{Field::Beruhazas, "300000000"}, {Field::Akoll, "1800"}};
// Energy 40 % dearer each year: the figures leave 32 bits from about 30
// years on, before the curves meet.
const test::TextChanges kFastRise = {{Field::Elettartam, "1"},
                                     {Field::Beruhazas, "100000000"},
                                     {Field::Karbkolts, "100"},
                                     {Field::Karbkoltsvalt, "20"},
                                     {Field::Energiaarvalt, "40"}};
// Maintenance doubling every year always costs more than the energy saved;
// from about 35 years on nothing can be computed any more.
const test::TextChanges kNeverClears = {{Field::Elettartam, "1"},
                                        {Field::Kamatlab, "1"},
                                        {Field::Karbkolts, "100"},
                                        {Field::Karbkoltsvalt, "100"},
                                        {Field::Energiaarvalt, "100"}};

test::TextChanges With(test::TextChanges changes, const test::TextChanges& more) {
  changes.insert(changes.end(), more.begin(), more.end());
  return changes;
}

struct PaybackCase {
  const char* name;
  test::TextChanges changes;
  const char* label;  // the text of L
};

class PaybackScenario : public ::testing::TestWithParam<PaybackCase> {};

// The run's label, and the grid boundary it claims: reached at the shown
// period and not one step (0.01 year) before it.
TEST_P(PaybackScenario, ShowsTheFirstGridPeriodWhereSavingsReachCost) {
  const RunOutcome out = CalculationRun(test::StartupTextsWith(GetParam().changes), kHu);
  ASSERT_TRUE(out.findings.empty());
  ASSERT_FALSE(out.fault);
  EXPECT_EQ(out.labels[static_cast<std::size_t>(ResultLabel::L)], GetParam().label);

  const PeriodModel m = test::ChartModel(out.inputs);
  const Money step = Money::FromRaw(100);
  if (GetParam().label == kNoPaybackText) {
    EXPECT_FALSE(SavingsReachCost(m, MoneyOf(100)));
  } else if (M(GetParam().label) == MoneyOf(0)) {
    EXPECT_TRUE(SavingsReachCost(m, M("0,1")));
  } else {
    EXPECT_TRUE(SavingsReachCost(m, M(GetParam().label)));
    EXPECT_FALSE(SavingsReachCost(m, M(GetParam().label) - step));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, PaybackScenario,
    ::testing::Values(
        PaybackCase{"HalfSubsidy", {{Field::Tamogatas, "50"}}, "8,07"},
        PaybackCase{"ResidualValue20", {{Field::Maradvanyertek, "20"}}, "13,42"},
        PaybackCase{"MaintenanceRiseEqualsInterest", {{Field::Karbkoltsvalt, "6"}}, "16,93"},
        // Already there at the first period: shown as 0.
        PaybackCase{"FullSubsidy", {{Field::Tamogatas, "100"}}, "0"},
        // Savings tend to 72000, cost to about 80900: never.
        PaybackCase{"NoPriceRise", {{Field::Energiaarvalt, "0"}}, "nincs"},
        // Savings exactly equal to the cost count as reached (balance 0 at
        // 16.68 years, -58 Ft at 16.67).
        PaybackCase{"ExactBreakEven", {{Field::Energiaar, "19,9937"}}, "16,68"},
        // The curves meet between 0.09 and 0.10 years: the first grid period.
        PaybackCase{"CrossingBeforeTheGrid", {{Field::Energiaar, "2948,7639"}}, "0"},
        PaybackCase{"SecondGridPeriod", {{Field::Energiaar, "2678,9882"}}, "0,11"},
        PaybackCase{"ExactBreakEvenAt75Years", With(kSlowRise, {{Field::Energiaar, "22,9763"}}),
                    "75"},
        // The last grid period, and the first one beyond it.
        PaybackCase{"AtTheEndOfTheGrid", With(kSlowRise, {{Field::Energiaar, "13,3128"}}), "100"},
        PaybackCase{"JustBeyondTheGrid", With(kSlowRise, {{Field::Energiaar, "13,3095"}}), "nincs"},
        // Same ratios as 200 million/1200 m2.
        PaybackCase{"LargePlant", kLargePlant, "16,68"},
        PaybackCase{"LargePlantSameRatios",
                    {{Field::Beruhazas, "200000000"}, {Field::Akoll, "1200"}},
                    "16,68"},
        PaybackCase{"FastPriceRise", kFastRise, "52,7"},
        PaybackCase{"FaultsNeverClear", kNeverClears, "nincs"}),
    [](const auto& info) { return std::string(info.param.name); });

// What makes the cases above the cases they are named after.
TEST(PaybackSearch, ComparesBeyondThe32BitRangeOfTheShownFigures) {
  const PeriodModel large = ChartModel(kLargePlant);
  EXPECT_THROW(PeriodEvaluation(large, M("0,1")), ArithmeticFault);
  EXPECT_GT(WidePeriodEvaluation(large, M("0,1")).Eveskolts, INT32_MAX);

  const PeriodModel fast = ChartModel(kFastRise);
  EXPECT_THROW(PeriodEvaluation(fast, M("52,7")), ArithmeticFault);
  EXPECT_GT(WidePeriodEvaluation(fast, M("52,7")).Megtakariteves, INT32_MAX);

  const PeriodModel never = ChartModel(kNeverClears);
  for (const char* t : {"35,16", "50", "99,99", "100"}) {
    EXPECT_THROW(WidePeriodEvaluation(never, M(t)), ArithmeticFault) << t;
    EXPECT_FALSE(SavingsReachCost(never, M(t))) << t;
  }
}

// Where the figures fit in 32 bits the wide evaluation is the same one.
TEST(PaybackSearch, WideFiguresEqualTheShownOnesWhereTheyFit) {
  const PeriodModel m = ChartModel({{Field::Energiaarvalt, "9"}, {Field::Tamogatas, "33,3"}});
  for (const char* t : {"0,1", "1", "16,68", "25", "50,01", "100"}) {
    const PeriodFigures narrow = PeriodEvaluation(m, M(t));
    const WidePeriodFigures wide = WidePeriodEvaluation(m, M(t));
    EXPECT_EQ(wide.a, narrow.a) << t;
    EXPECT_EQ(wide.Eveskolts, narrow.Eveskolts) << t;
    EXPECT_EQ(wide.Karbeveskolts, narrow.Karbeveskolts) << t;
    EXPECT_EQ(wide.Uzemeveskolts, narrow.Uzemeveskolts) << t;
    EXPECT_EQ(wide.Egyebeveskolts, narrow.Egyebeveskolts) << t;
    EXPECT_EQ(wide.Osszeskolts, narrow.Osszeskolts) << t;
    EXPECT_EQ(wide.Megtakariteves, narrow.Megtakariteves) << t;
  }
}

// The search settles most periods from an estimate instead of evaluating
// them. Walked over the whole grid next to the exact evaluation, the
// estimate must hold its bound at every period that evaluates, settle
// nearly every period far from the crossing, and leave the search's answer
// what a period-by-period exact search gives.
struct EstimateCase {
  const char* name;
  test::TextChanges changes;
};

class GridEstimate : public ::testing::TestWithParam<EstimateCase> {};

TEST_P(GridEstimate, HoldsItsBoundAndLeavesThePaybackUnchanged) {
  const PeriodModel m = ChartModel(GetParam().changes);
  const Money step = Money::FromRaw(100);
  GridBalanceEstimator estimate(m, M("0,1"), step);
  std::optional<Money> exact_payback;
  int outside_bound = 0, unsettled_far_short = 0, far_short = 0;
  for (Money t = M("0,1"); t <= MoneyOf(100); t = t + step) {
    const BalanceEstimate e = estimate.Next();
    std::int64_t balance;
    try {
      const WidePeriodFigures p = WidePeriodEvaluation(m, t);
      balance = p.Megtakariteves - p.Osszeskolts;
    } catch (const ArithmeticFault&) {
      continue;  // not paid back, whatever the estimate says
    }
    if (!exact_payback && balance >= 0) exact_payback = t;
    if (!(std::fabs(static_cast<double>(balance) - e.balance) <= e.bound) && !std::isnan(e.bound)) {
      ADD_FAILURE() << "t " << t.Raw() << ": exact " << balance << ", estimate " << e.balance
                    << " ± " << e.bound;
      if (++outside_bound == 3) return;
    }
    // A period 1 000 Ft short is settled without its exact evaluation.
    if (balance < -1000) {
      ++far_short;
      if (!e.CertainlyShort()) ++unsettled_far_short;
    }
  }
  EXPECT_EQ(unsettled_far_short, 0) << "of " << far_short;
  const std::optional<Money> found = PaybackSearch(m);
  EXPECT_EQ(found.has_value(), exact_payback.has_value());
  if (found && exact_payback) {
    EXPECT_EQ(*found, *exact_payback == M("0,1") ? MoneyOf(0) : *exact_payback);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, GridEstimate,
    ::testing::Values(EstimateCase{"StartupTexts", {}},
                      EstimateCase{"NoPriceRise", {{Field::Energiaarvalt, "0"}}},
                      EstimateCase{"SlowRise", kSlowRise},
                      // Without interest (the simple payback): a = 1 / t, no power of q.
                      EstimateCase{"NoInterest", {{Field::Kamatlab, "0"}}},
                      // Every amount grows as fast as the interest: t / q throughout.
                      EstimateCase{"AllGrowthEqualsInterest",
                                   {{Field::Karbkoltsvalt, "6"},
                                    {Field::Uzemkoltsvalt, "6"},
                                    {Field::Egyebkoltsvalt, "6"},
                                    {Field::Energiaarvalt, "6"}}},
                      // Four distinct growth factors, all above the interest.
                      EstimateCase{"FourGrowthFactors",
                                   {{Field::Kamatlab, "1"},
                                    {Field::Karbkoltsvalt, "10"},
                                    {Field::Uzemkoltsvalt, "20"},
                                    {Field::Egyebkoltsvalt, "30"},
                                    {Field::Energiaarvalt, "25"}}},
                      // The steepest factors validation allows.
                      EstimateCase{"HundredPercentEverywhere",
                                   {{Field::Kamatlab, "100"},
                                    {Field::Karbkoltsvalt, "100"},
                                    {Field::Energiaarvalt, "100"},
                                    {Field::Karbkolts, "100"}}},
                      EstimateCase{"NoCapitalCost", {{Field::Maradvanyertek, "100"}}},
                      EstimateCase{"LargePlant", kLargePlant},
                      EstimateCase{"FastPriceRise", kFastRise},
                      EstimateCase{"FaultsNeverClear", kNeverClears},
                      // Amounts near the top of Money's range: large roundings, and faults.
                      EstimateCase{
                          "HugePlant",
                          {{Field::Beruhazas, "90000000000000"}, {Field::Akoll, "100000"}}}),
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
