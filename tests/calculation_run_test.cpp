#include "calculation_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>

#include "chart_frame.h"
#include "period_series.h"
#include "test_inputs.h"

namespace zr {
namespace {

const NumberFormat kHu = NumberFormat::Hungarian();

RunOutcome RunWith(test::TextChanges changes = {}, const NumberFormat& format = kHu) {
  return CalculationRun(test::StartupTextsWith(changes, format), format);
}

const std::optional<std::string>& Label(const RunOutcome& out, ResultLabel label) {
  return out.labels[static_cast<std::size_t>(label)];
}

bool EndsWithFrame(const ChartOperations& ops, std::size_t at) {
  const ChartOperations frame = DrawChartFrame();
  return ops.size() >= at + frame.size() &&
         std::equal(frame.begin(), frame.end(), ops.begin() + static_cast<std::ptrdiff_t>(at));
}

TEST(CalculationRun, StartupTextsGiveTheWorkedExample) {
  const RunOutcome out = RunWith();
  EXPECT_TRUE(out.findings.empty());
  EXPECT_FALSE(out.fault);
  const char* expected[] = {"1000000", "3600", "78200",  "6675",  "4614", "2670",
                            "92159",   "26",   "132790", "40631", "16,68"};
  for (std::size_t i = 0; i < kResultLabelCount; ++i) {
    EXPECT_EQ(out.labels[i], expected[i]) << LabelName(static_cast<ResultLabel>(i));
  }
  ASSERT_GE(out.chart.size(), 2u);
  EXPECT_EQ(out.chart[0], ChartOperation{Cls{}});
  EXPECT_EQ(out.chart[1], ChartOperation{DrawWidth{2}});
  // Two curves of 99 segments each follow.
  EXPECT_EQ(std::get<Line>(out.chart[2]), (Line{558, 3131, 616, 3128, kSavingsColor}));
  EXPECT_EQ(std::get<Line>(out.chart[3]), (Line{558, 100, 616, 1141, kCostColor}));
  EXPECT_TRUE(EndsWithFrame(out.chart, 2 + 198));
}

TEST(CalculationRun, SubsidisedInvestmentIsAMoneyText) {
  EXPECT_EQ(Label(RunWith({{Field::Tamogatas, "50"}}), ResultLabel::Valberuhazasb), "500000");
  const RunOutcome odd = RunWith({{Field::Beruhazas, "999"}, {Field::Tamogatas, "50"}});
  EXPECT_EQ(Label(odd, ResultLabel::Valberuhazasb), "499,5");
  const RunOutcome dot =
      RunWith({{Field::Beruhazas, "999"}, {Field::Tamogatas, "50"}}, NumberFormat{"."});
  EXPECT_TRUE(dot.findings.empty());
  EXPECT_EQ(Label(dot, ResultLabel::Valberuhazasb), "499.5");
  EXPECT_EQ(Label(RunWith({}, NumberFormat{"."}), ResultLabel::L), "16.68");
}

// The subsidy is read as Money (four decimals, ties to even) and applied
// in doubles: 1000000 × (1 − 0.33333) and so on.
TEST(CalculationRun, SubsidyWithMoreThanTwoDecimals) {
  const struct {
    const char* beruhazas;
    const char* tamogatas;
    const char* shown;
  } cases[] = {
      {"1000000", "33,333", "666670"},    {"1001", "33,333", "667,3367"},
      {"1000000", "33,33333", "666667"},  {"1000000", "33,33335", "666666"},
      {"1000000", "33,333250", "666668"}, {"1000000", "33,333350", "666666"},
  };
  for (const auto& c : cases) {
    const RunOutcome out =
        RunWith({{Field::Beruhazas, c.beruhazas}, {Field::Tamogatas, c.tamogatas}});
    EXPECT_TRUE(out.findings.empty());
    EXPECT_EQ(Label(out, ResultLabel::Valberuhazasb), c.shown) << c.beruhazas << " " << c.tamogatas;
  }
}

TEST(CalculationRun, ComputesFromTheReplacements) {
  const RunOutcome out =
      RunWith({{Field::Elettartam, "0"}, {Field::Qkoll, "abc"}, {Field::Energiaarvalt, "200"}});
  ASSERT_EQ(out.findings.size(), 3u);
  EXPECT_EQ(out.corrected[Index(Field::Elettartam)], "20");
  EXPECT_EQ(out.inputs.Elettartam, MoneyOf(20));
  EXPECT_EQ(out.inputs.Energiaarvalt, MoneyOf(8));
  // Same figures as a run with the replacements typed in.
  const RunOutcome typed = RunWith({{Field::Elettartam, "20"}, {Field::Energiaarvalt, "8"}});
  EXPECT_EQ(out.labels, typed.labels);
  EXPECT_EQ(out.chart, typed.chart);
}

TEST(CalculationRun, MoreThanFourDecimalsAreTestedFullyButUsedRounded) {
  const RunOutcome out = RunWith({{Field::Kamatlab, "6,00004"}});
  EXPECT_TRUE(out.findings.empty());
  EXPECT_EQ(out.inputs.Kamatlab, MoneyOf(6));
  EXPECT_EQ(out.labels, RunWith().labels);
}

TEST(CalculationRun, TwoRunsOnTheSameTextsAreIdentical) {
  const RunOutcome a = RunWith({{Field::Tamogatas, "33,3"}});
  const RunOutcome b = RunWith({{Field::Tamogatas, "33,3"}});
  EXPECT_EQ(a.labels, b.labels);
  EXPECT_EQ(a.chart, b.chart);
}

TEST(CalculationRun, NoPaybackOnTheGridIsAResultNotAFault) {
  const RunOutcome out = RunWith({{Field::Energiaarvalt, "0"}});
  EXPECT_FALSE(out.fault);
  EXPECT_EQ(Label(out, ResultLabel::L), "nincs");
  EXPECT_EQ(Label(out, ResultLabel::Egyenlegb), "-20181");
  EXPECT_FALSE(out.results.Megterulesiido);
  EXPECT_EQ(std::get<Line>(out.chart[3]).color, kCostColor);  // the chart is still drawn
}

TEST(CalculationRun, FaultInTheYearlyFiguresKeepsEarlierLabelsOnly) {
  const RunOutcome out = RunWith({{Field::Akoll, "100000000000"}});
  EXPECT_TRUE(out.findings.empty());
  EXPECT_EQ(out.fault, std::string(kFaultMessage));
  EXPECT_EQ(Label(out, ResultLabel::Valberuhazasb), "1000000");
  for (std::size_t i = 1; i < kResultLabelCount; ++i) EXPECT_FALSE(out.labels[i]) << i;
  // Clear, pen width, then the frame alone.
  EXPECT_EQ(out.chart.size(), 2 + DrawChartFrame().size());
  EXPECT_TRUE(EndsWithFrame(out.chart, 2));
}

// What the analysis works from: the inputs read before the fault.
TEST(CalculationRun, AFaultingSubsidisedInvestmentLeavesTheLaterInputsUnread) {
  const RunOutcome early = RunWith({{Field::Beruhazas, "922337203685477,5807"}});
  ASSERT_EQ(early.fault, std::string(kFaultMessage));
  EXPECT_FALSE(Label(early, ResultLabel::Valberuhazasb));
  EXPECT_EQ(early.inputs.Elettartam, MoneyOf(25));
  EXPECT_EQ(early.inputs.Beruhazas.Raw(), 9223372036854775807);
  for (Field f : kAllFields) {
    if (Index(f) > Index(Field::Tamogatas)) {
      EXPECT_EQ(early.inputs[f], MoneyOf(0)) << Index(f);
    }
  }
  const RunOutcome late = RunWith({{Field::Akoll, "100000000000"}});
  ASSERT_EQ(late.fault, std::string(kFaultMessage));
  EXPECT_EQ(late.inputs.Akoll.Raw(), 100000000000 * Money::kScale);
  EXPECT_EQ(late.inputs.Energiaarvalt, MoneyOf(6));
}

TEST(CalculationRun, FaultAmongTheChartPointsKeepsTheCurvesSoFar) {
  // The shown figures for 10 years fit; longer chart periods overflow the savings.
  const RunOutcome out = RunWith({{Field::Elettartam, "10"},
                                  {Field::Kamatlab, "1"},
                                  {Field::Energiaarvalt, "100"},
                                  {Field::Energiaar, "5000"}});
  ASSERT_EQ(out.fault, std::string(kFaultMessage));
  for (std::size_t i = 0; i < kResultLabelCount; ++i) EXPECT_TRUE(out.labels[i]) << i;
  const auto lines = std::count_if(out.chart.begin(), out.chart.end(), [](const auto& op) {
    const Line* l = std::get_if<Line>(&op);
    return l && l->color != kBlack;
  });
  EXPECT_GT(lines, 0);
  EXPECT_LT(lines, 198);
  EXPECT_TRUE(EndsWithFrame(out.chart, 2 + static_cast<std::size_t>(lines)));
  EXPECT_EQ(out.chart.back(), ChartOperation{Print{std::string("(ezer Ft)")}});
}

TEST(CalculationRun, TooLargeNumberIsAFindingNotAFault) {
  const RunOutcome out = RunWith({{Field::Beruhazas, std::string(400, '9')}});
  ASSERT_EQ(out.findings.size(), 1u);
  EXPECT_EQ(out.findings[0].message, kTooLargeMessage);
  EXPECT_EQ(out.corrected[Index(Field::Beruhazas)], "1000000");
  EXPECT_FALSE(out.fault);
  EXPECT_EQ(Label(out, ResultLabel::L), "16,68");
}

// A run whose chart nobody draws: everything else as with the chart, a
// fault among the chart's periods included. Where the run skips the
// chart's periods, none of them may fault.
TEST(CalculationRun, WithoutTheChartEverythingElseIsTheSame) {
  const test::TextChanges cases[] = {
      {},
      {{Field::Energiaarvalt, "0"}},                          // no payback
      {{Field::Tamogatas, "100"}},                            // payback at once
      {{Field::Beruhazas, "abc"}, {Field::Kamatlab, "0,5"}},  // wrong texts
      {{Field::Akoll, "100000000000"}},                       // fault in the yearly figures
      {{Field::Elettartam, "10"},
       {Field::Kamatlab, "1"},
       {Field::Energiaarvalt, "100"},
       {Field::Energiaar, "5000"}},                               // fault among the chart points
      {{Field::Elettartam, "50"}, {Field::Energiaarvalt, "30"}},  // chart points near the limit
      {{Field::Beruhazas, "300000000"}, {Field::Akoll, "1800"}},  // large plant
  };
  int skipped = 0;
  for (const test::TextChanges& changes : cases) {
    const InputTexts texts = test::StartupTextsWith(changes);
    const RunOutcome drawn = CalculationRun(texts, kHu);
    const RunOutcome not_drawn = CalculationRun(texts, kHu, ChartUse::kNotDrawn);
    const std::string name = changes.empty() ? "start-up" : changes.back().second;
    EXPECT_EQ(not_drawn.findings, drawn.findings) << name;
    EXPECT_EQ(not_drawn.corrected, drawn.corrected) << name;
    EXPECT_EQ(not_drawn.labels, drawn.labels) << name;
    EXPECT_EQ(not_drawn.fault, drawn.fault) << name;
    EXPECT_EQ(not_drawn.results.Megterulesiido, drawn.results.Megterulesiido) << name;
    EXPECT_TRUE(not_drawn.chart.empty()) << name;

    if (!drawn.results.yearly) continue;
    const PeriodModel model = test::ChartModel(drawn.inputs);
    if (!SeriesCertainlyFits(model, drawn.inputs.Elettartam)) continue;
    ++skipped;
    PeriodSeries series;
    EXPECT_NO_THROW(EvaluatePeriodSeries(model, drawn.inputs.Elettartam, series)) << name;
  }
  EXPECT_GE(skipped, 5);  // the start-up, no payback, at once, wrong texts, large plant
}

}  // namespace
}  // namespace zr
