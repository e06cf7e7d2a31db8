#include "payback.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
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

// The search settles stretches of the grid from a bound instead of
// evaluating their periods. Walked over the whole grid next to the exact
// evaluation, the bound must lie above every exact balance of every
// stretch it is asked about, settle single periods far from the crossing,
// and leave the search's answer what a period-by-period exact walk finds.

// The exact balance of each grid period 0.10, 0.11, ... 100.00 (index n
// is period (n + 10) / 100); none where the evaluation faults.
using Balances = std::vector<std::optional<std::int64_t>>;
Balances ExactBalances(const PeriodModel& m) {
  Balances balances;
  for (std::int64_t n = 10; n <= 10000; ++n) {
    try {
      const WidePeriodFigures p = WidePeriodEvaluation(m, Money::FromRaw(n * 100));
      balances.push_back(p.Megtakariteves - p.Osszeskolts);
    } catch (const ArithmeticFault&) {
      balances.emplace_back();
    }
  }
  return balances;
}

Money GridPeriod(std::size_t index) {
  return Money::FromRaw((static_cast<std::int64_t>(index) + 10) * 100);
}

// The search, done the slow way.
std::optional<Money> ExactWalk(const Balances& balances) {
  for (std::size_t i = 0; i < balances.size(); ++i) {
    if (balances[i] && *balances[i] >= 0) return i == 0 ? MoneyOf(0) : GridPeriod(i);
  }
  return std::nullopt;
}

// Everything the bound and the search promise, for one model: an empty
// string, or what went wrong.
std::string BoundFaults(const PeriodModel& m, const Balances& balances) {
  const ModelBounds bounds(m);
  const IntervalBalanceBound& bound = bounds.balance;
  std::string faults;
  int reported = 0;
  const auto fault = [&](const std::string& what) {
    if (reported++ < 3) faults += what + "; ";
  };
  // First, so that it is always reported.
  const std::optional<Money> found = PaybackSearch(m);
  const std::optional<Money> exact = ExactWalk(balances);
  if (found != exact) {
    fault("search " + (found ? std::to_string(found->Raw()) : "none") + ", exact walk " +
          (exact ? std::to_string(exact->Raw()) : "none"));
  }
  // Stretches [first, first + 2^j] as the search takes them, the far end's
  // powers carried from the near end's, overlapping, over the whole grid.
  const GridSteps& steps = bounds.steps;
  for (int j : {0, 1, 2, 3, 5, 8, 11, 13}) {
    const std::size_t length = (std::size_t{1} << j) + 1;
    const std::size_t stride = std::max<std::size_t>(1, length / 2);
    for (std::size_t first = 0; first < balances.size(); first += stride) {
      const PeriodFactors at_first = bound.factors().At(GridPeriod(first));
      const PeriodFactors at_last =
          bound.factors().At(GridPeriod(first + length - 1), steps.Carry(at_first.powers, j));
      const double highest = bound.Highest(at_first, at_last);
      if (std::isnan(highest)) continue;
      for (std::size_t i = first; i < std::min(first + length, balances.size()); ++i) {
        if (balances[i] && static_cast<double>(*balances[i]) > highest) {
          fault("t " + std::to_string(GridPeriod(i).Raw()) + " in a stretch of " +
                std::to_string(length) + ": exact " + std::to_string(*balances[i]) +
                " above the bound " + std::to_string(highest));
          break;
        }
      }
    }
  }
  // Single periods: under the bound, and settled without their exact
  // evaluation when 1 000 Ft short.
  int unsettled = 0;
  for (std::size_t i = 0; i < balances.size(); ++i) {
    const double highest = bound.Highest(GridPeriod(i), GridPeriod(i));
    if (!balances[i]) continue;
    if (static_cast<double>(*balances[i]) > highest) {
      fault("t " + std::to_string(GridPeriod(i).Raw()) + ": exact " + std::to_string(*balances[i]) +
            " above the bound " + std::to_string(highest));
    }
    if (*balances[i] < -1000 && !(highest < 0)) ++unsettled;
  }
  if (unsettled > 0) fault(std::to_string(unsettled) + " periods far short not settled");
  return faults;
}

struct EstimateCase {
  const char* name;
  test::TextChanges changes;
};

class GridBound : public ::testing::TestWithParam<EstimateCase> {};

TEST_P(GridBound, HoldsAndLeavesThePaybackUnchanged) {
  const PeriodModel m = ChartModel(GetParam().changes);
  EXPECT_EQ(BoundFaults(m, ExactBalances(m)), "");
}

// Crossing back: maintenance rising 15 % a year overtakes the savings
// again; the balance rises above zero and falls below it later.
const test::TextChanges kCrossesBack = {{Field::Kamatlab, "3"},
                                        {Field::Energiaarvalt, "0"},
                                        {Field::Karbkolts, "1"},
                                        {Field::Karbkoltsvalt, "15"},
                                        {Field::Energiaar, "40"}};
// The same hump, its top exactly at 0 Ft: paid back there, and never after.
const test::TextChanges kTouchesZero = With(kCrossesBack, {{Field::Energiaar, "32,6553"}});

bool CrossesBack(const Balances& balances) {
  bool reached = false;
  for (const auto& b : balances) {
    if (b && *b >= 0) reached = true;
    if (reached && b && *b < 0) return true;
  }
  return false;
}

// What makes the two cases below the cases they are named after.
TEST(GridBoundCases, CrossingBackAndTouchingZeroAreWhatTheySay) {
  EXPECT_TRUE(CrossesBack(ExactBalances(ChartModel(kCrossesBack))));
  const auto touching = ExactBalances(ChartModel(kTouchesZero));
  std::int64_t highest = INT64_MIN;
  for (const auto& b : touching) {
    ASSERT_TRUE(b);
    highest = std::max(highest, *b);
  }
  EXPECT_EQ(highest, 0);
  EXPECT_EQ(PaybackSearch(ChartModel(kTouchesZero)), M("17,58"));
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, GridBound,
    ::testing::Values(
        EstimateCase{"StartupTexts", {}},
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
        EstimateCase{"LargePlant", kLargePlant}, EstimateCase{"FastPriceRise", kFastRise},
        EstimateCase{"FaultsNeverClear", kNeverClears},
        // Amounts near the top of Money's range: large roundings, and faults.
        EstimateCase{"HugePlant", {{Field::Beruhazas, "90000000000000"}, {Field::Akoll, "100000"}}},
        // Savings exactly equal to the cost at 16.68 years.
        EstimateCase{"ExactBreakEven", {{Field::Energiaar, "19,9937"}}},
        EstimateCase{"CrossesBack", kCrossesBack},
        EstimateCase{"TouchesZeroWithoutCrossing", kTouchesZero}),
    [](const auto& info) { return std::string(info.param.name); });

// Generated scenarios, a few hundred, in families that each stress one
// piece of the bound.
std::string Decimal(std::mt19937& random, int low, int high, int decimals) {
  int scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const int v = std::uniform_int_distribution<int>(low * scale, high * scale)(random);
  std::string text = std::to_string(v / scale);
  if (decimals > 0) {
    std::string fraction = std::to_string(v % scale);
    text += "," + std::string(decimals - fraction.size(), '0') + fraction;
  }
  return text;
}

struct Family {
  const char* name;
  test::TextChanges (*make)(std::mt19937&);
  // What makes a scenario one of the family; at least half of those drawn
  // must be.
  bool (*is_one)(const PeriodModel&, const Balances&);
};

const Family kFamilies[] = {
    {"NoInterest",
     [](std::mt19937& r) -> test::TextChanges {
       return {{Field::Kamatlab, "0"},
               {Field::Energiaarvalt, Decimal(r, 0, 10, 2)},
               {Field::Karbkoltsvalt, Decimal(r, 0, 10, 2)},
               {Field::Energiaar, Decimal(r, 5, 60, 4)},
               {Field::Tamogatas, Decimal(r, 0, 90, 1)}};
     },
     [](const PeriodModel& m, const Balances&) { return m.q == MoneyOf(1); }},
    {"GrowthEqualsInterest",
     [](std::mt19937& r) -> test::TextChanges {
       const std::string rate = Decimal(r, 1, 20, 2);
       return {{Field::Kamatlab, rate},
               {Field::Karbkoltsvalt, rate},
               {Field::Uzemkoltsvalt, rate},
               {Field::Egyebkoltsvalt, rate},
               {Field::Energiaarvalt, rate},
               {Field::Energiaar, Decimal(r, 5, 60, 4)},
               {Field::Maradvanyertek, Decimal(r, 0, 50, 0)}};
     },
     [](const PeriodModel& m, const Balances&) {
       return m.growth_count == 1 && m.growth[0].g == m.q;
     }},
    {"FourGrowthFactors",
     [](std::mt19937& r) -> test::TextChanges {
       return {{Field::Kamatlab, Decimal(r, 1, 15, 2)},
               {Field::Karbkoltsvalt, Decimal(r, 0, 40, 2)},
               {Field::Uzemkoltsvalt, Decimal(r, 0, 40, 2)},
               {Field::Egyebkoltsvalt, Decimal(r, 0, 40, 2)},
               {Field::Energiaarvalt, Decimal(r, 0, 40, 2)},
               {Field::Energiaar, Decimal(r, 5, 60, 4)}};
     },
     [](const PeriodModel& m, const Balances&) { return m.growth_count == 4; }},
    {"LargePlant",
     [](std::mt19937& r) -> test::TextChanges {
       // Up to 900 009 m2 and 90 000 billion Ft.
       const auto zeros = [&r](int most) {
         return std::string(std::uniform_int_distribution<int>(0, most)(r), '0');
       };
       const std::string scale = Decimal(r, 2, 9, 0) + "0" + zeros(3);
       return {{Field::Beruhazas, scale + "000000" + zeros(3)},
               {Field::Akoll, scale + Decimal(r, 1, 9, 0)},
               {Field::Energiaarvalt, Decimal(r, 0, 30, 2)},
               {Field::Energiaar, Decimal(r, 5, 60, 4)}};
     },
     [](const PeriodModel&, const Balances& balances) {
       return std::any_of(balances.begin(), balances.end(),
                          [](const auto& b) { return b && (*b < INT32_MIN || *b > INT32_MAX); }) ||
              !balances.front();
     }},
    {"FaultsNeverClear",
     [](std::mt19937& r) -> test::TextChanges {
       return {{Field::Kamatlab, Decimal(r, 1, 5, 2)},
               {Field::Karbkolts, Decimal(r, 50, 100, 2)},
               {Field::Karbkoltsvalt, Decimal(r, 60, 100, 2)},
               {Field::Energiaarvalt, Decimal(r, 60, 100, 2)}};
     },
     [](const PeriodModel&, const Balances& balances) { return !balances.back(); }},
    {"CrossesBack",
     [](std::mt19937& r) -> test::TextChanges {
       return {{Field::Kamatlab, Decimal(r, 1, 5, 2)},
               {Field::Energiaarvalt, Decimal(r, 0, 3, 2)},
               {Field::Karbkolts, Decimal(r, 0, 3, 2)},
               {Field::Karbkoltsvalt, Decimal(r, 8, 20, 2)},
               {Field::Energiaar, Decimal(r, 10, 60, 4)}};
     },
     [](const PeriodModel&, const Balances& balances) { return CrossesBack(balances); }},
};

class GeneratedGridBound : public ::testing::TestWithParam<Family> {};

TEST_P(GeneratedGridBound, HoldsAndLeavesThePaybackUnchanged) {
  std::mt19937 random(20261209);
  const int drawn = 40;
  int members = 0;
  for (int i = 0; i < drawn; ++i) {
    const test::TextChanges changes = GetParam().make(random);
    std::string described;
    for (const auto& [field, text] : changes) {
      described += std::string(FieldName(field)) + "=" + text + " ";
    }
    const PeriodModel m = ChartModel(changes);
    const Balances balances = ExactBalances(m);
    if (GetParam().is_one(m, balances)) ++members;
    EXPECT_EQ(BoundFaults(m, balances), "") << described;
  }
  EXPECT_GE(members, drawn / 2);
}

INSTANTIATE_TEST_SUITE_P(Families, GeneratedGridBound, ::testing::ValuesIn(kFamilies),
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
