// The risk view's model: the ranges offered (and kept within each field's
// allowed values), which rows follow a new scenario, how the typed texts
// are read, runs made a stretch at a time, the result texts and the
// histogram's drawing model.
#include "risk_view.h"

#include <gtest/gtest.h>

#include "test_inputs.h"

namespace zr::test {
namespace {

const NumberFormat kHu = NumberFormat::Hungarian();

RangeTexts Row(Field field, const char* low, const char* mode, const char* high) {
  return {field, low, mode, high};
}

TEST(RiskView, OffersTheThreeDefaultsAroundTheScenariosOwnValues) {
  EXPECT_EQ(DefaultRanges(StartupTextsWith({}), kHu),
            (std::vector<RangeTexts>{Row(Field::Energiaarvalt, "2", "6", "10"),
                                     Row(Field::Qkoll, "420", "600", "660"),
                                     Row(Field::Kamatlab, "4", "6", "8")}));
  // Within the fields' allowed values; a wrong text counts as its replacement.
  const InputTexts edge = StartupTextsWith({{Field::Energiaarvalt, "2,5"},
                                            {Field::Qkoll, "950"},
                                            {Field::Kamatlab, "abc"},
                                            {Field::Beruhazas, "1000001"},
                                            {Field::Tamogatas, "90"}});
  EXPECT_EQ(OfferedRange(Field::Energiaarvalt, edge, kHu),
            Row(Field::Energiaarvalt, "0", "2,5", "6,5"));
  EXPECT_EQ(OfferedRange(Field::Qkoll, edge, kHu), Row(Field::Qkoll, "665", "950", "1000"));
  EXPECT_EQ(OfferedRange(Field::Kamatlab, edge, kHu), Row(Field::Kamatlab, "4", "6", "8"));
  // Any other field: ±20 %, to four decimals, within its range.
  EXPECT_EQ(OfferedRange(Field::Beruhazas, edge, kHu),
            Row(Field::Beruhazas, "800000,8", "1000001", "1200001,2"));
  EXPECT_EQ(OfferedRange(Field::Tamogatas, edge, kHu), Row(Field::Tamogatas, "72", "90", "100"));
  // The format's separator.
  EXPECT_EQ(OfferedRange(Field::Energiaarvalt, StartupTextsWith({{Field::Energiaarvalt, "2.5"}}),
                         NumberFormat{"."}),
            Row(Field::Energiaarvalt, "0", "2.5", "6.5"));
}

TEST(RiskView, ARowTheUserLeftAloneFollowsANewScenarioAnEditedOneStays) {
  const InputTexts former = StartupTextsWith({});
  const InputTexts now = StartupTextsWith({{Field::Energiaarvalt, "8"}, {Field::Qkoll, "500"}});
  std::vector<RangeTexts> rows = DefaultRanges(former, kHu);
  rows[1].high = "700";  // Qkoll edited
  FollowScenario(rows, former, now, kHu);
  EXPECT_EQ(rows[0], Row(Field::Energiaarvalt, "4", "8", "12"));
  EXPECT_EQ(rows[1], Row(Field::Qkoll, "420", "600", "700"));
  EXPECT_EQ(rows[2], Row(Field::Kamatlab, "4", "6", "8"));
}

TEST(RiskView, ReadsTheRangesOrNamesTheFirstWrongText) {
  const auto ranges = ReadRanges({Row(Field::Energiaarvalt, "2", "6", "10,5")}, kHu);
  ASSERT_TRUE(std::holds_alternative<std::vector<RiskRange>>(ranges));
  const RiskRange& r = std::get<std::vector<RiskRange>>(ranges)[0];
  EXPECT_EQ(r.field, Field::Energiaarvalt);
  EXPECT_EQ(r.low, MoneyOf(2));
  EXPECT_EQ(r.high, Money::FromRaw(105000));

  struct Case {
    std::vector<RangeTexts> rows;
    std::size_t row;
    int column;
    const char* message;
  };
  const Case cases[] = {
      {{}, 0, 0, "Legalább egy adatnak adjon meg tartományt!"},
      {{Row(Field::Qkoll, "450", "6x0", "650")}, 0, 1, "Adjon meg számot!"},
      // Beyond the field's values: its validation message, as a draw there
      // would be replaced.
      {{Row(Field::Energiaarvalt, "2", "6", "10"), Row(Field::Kamatlab, "0,5", "6", "8")},
       1,
       0,
       "A kamatláb 1 és 100 % között lehet!"},
      {{Row(Field::Qkoll, "600", "500", "650")},
       0,
       1,
       "A legvalószínűbb érték nem lehet kisebb az alsó értéknél!"},
      {{Row(Field::Qkoll, "450", "600", "599,9999")},
       0,
       2,
       "A felső érték nem lehet kisebb a legvalószínűbb értéknél!"},
      {{Row(Field::Qkoll, "450", "600", "650"), Row(Field::Qkoll, "450", "600", "650")},
       1,
       0,
       "Ez az adat már szerepel a táblázatban!"},
  };
  for (const Case& c : cases) {
    const auto read = ReadRanges(c.rows, kHu);
    ASSERT_TRUE(std::holds_alternative<RangeProblem>(read)) << c.message;
    const RangeProblem& p = std::get<RangeProblem>(read);
    EXPECT_EQ(p.row, c.row) << c.message;
    EXPECT_EQ(p.column, c.column) << c.message;
    EXPECT_EQ(p.message, c.message);
  }
}

TEST(RiskView, ReadsRunsAndSeedAsWholeNumbersInRange) {
  EXPECT_EQ(std::get<std::int64_t>(ReadRuns(" 1000000 ")), 1000000);
  EXPECT_EQ(std::get<std::int64_t>(ReadRuns("1")), 1);
  for (const char* bad : {"0", "1000001", "1e4", "-5", "10 000", "", "99999999999999999999999"}) {
    EXPECT_TRUE(std::holds_alternative<std::string>(ReadRuns(bad))) << bad;
  }
  EXPECT_EQ(std::get<std::uint64_t>(ReadSeed("18446744073709551615")), 18446744073709551615ULL);
  EXPECT_EQ(std::get<std::uint64_t>(ReadSeed("0")), 0u);
  for (const char* bad : {"18446744073709551616", "-1", "1,5", "x"}) {
    EXPECT_EQ(std::get<std::string>(ReadSeed(bad)),
              "A kezdőérték 0 és 18446744073709551615 közötti egész szám lehet!")
        << bad;
  }
}

TEST(RiskView, RunsMadeAStretchAtATimeGiveTheFiguresOfOneGo) {
  const InputTexts texts = StartupTextsWith({});
  const std::vector<RiskRange> ranges =
      std::get<std::vector<RiskRange>>(ReadRanges(DefaultRanges(texts, kHu), kHu));
  const RiskResult whole = RunRisk(texts, ranges, 700, 9, kHu);
  RiskRunner runner(texts, ranges, 9, kHu);
  for (const std::int64_t stretch : {1, 99, 300, 300}) runner.Run(stretch);
  const RiskResult split = runner.Result();
  EXPECT_EQ(split.runs, 700);
  EXPECT_EQ(split.paying_back, whole.paying_back);
  EXPECT_EQ(split.payback, whole.payback);
  EXPECT_EQ(split.balance, whole.balance);
  EXPECT_EQ(split.no_payback, whole.no_payback);
  ASSERT_EQ(split.histogram.size(), whole.histogram.size());
  for (std::size_t i = 0; i < split.histogram.size(); ++i) {
    EXPECT_EQ(split.histogram[i].runs, whole.histogram[i].runs);
  }
}

// 10 runs without a fault: bins 15–16 (3), 16–17 (4), 17–18 (1), "nincs" 2.
RiskResult HandMade() {
  RiskResult r;
  r.runs = 11;
  r.seed = 5;
  r.faults = 1;
  r.paying_back = 7;
  r.payback = {PaybackTime{Money::FromRaw(153000)}, PaybackTime{Money::FromRaw(162500)},
               PaybackTime{}};
  r.balance = {std::array<std::int32_t, 3>{-1200, 300, 4100}};
  r.bin_width = MoneyOf(1);
  r.histogram = {
      {MoneyOf(15), MoneyOf(16), 3}, {MoneyOf(16), MoneyOf(17), 4}, {MoneyOf(17), MoneyOf(18), 1}};
  r.no_payback = 2;
  return r;
}

TEST(RiskView, WritesTheFiguresAndWhatTheyMean) {
  const RiskFigures f = FiguresOf(HandMade(), kHu);
  EXPECT_EQ(f.share, "70 % (7 / 10 futás)");
  EXPECT_EQ(f.payback, (std::array<std::string, 3>{"15,3", "16,25", "nincs"}));
  EXPECT_EQ(f.balance, (std::array<std::string, 3>{"-1200", "300", "4100"}));
  EXPECT_EQ(f.faults, "1");
  EXPECT_EQ(f.summary,
            "A futások 70 %-ában a beruházás a vizsgált időszakon belül megtérül. A futások "
            "legalább tizedében 100 év alatt sem térül meg.");
  EXPECT_EQ(DoneText(HandMade()), "Kész: 11 futás, kezdőérték: 5.");
  for (std::size_t i = 0; i < kRiskTexts.size(); ++i) {
    EXPECT_EQ(static_cast<std::size_t>(kRiskTexts[i].id), i) << kRiskTexts[i].key;
  }

  RiskResult faulty;
  faulty.runs = faulty.faults = 4;
  const RiskFigures none = FiguresOf(faulty, kHu);
  EXPECT_EQ(none.share, "–");
  EXPECT_EQ(none.payback[1], "–");
  EXPECT_EQ(none.summary, TextOf(RiskText::kAllFaulted));
  EXPECT_TRUE(HistogramOf(faulty, MoneyOf(25), kHu).bars.empty());
}

TEST(RiskView, DrawsTheHistogramWithNincsAsItsOwnBar) {
  const RiskHistogram h = HistogramOf(HandMade(), MoneyOf(16), kHu);
  ASSERT_EQ(h.bars.size(), 4u);
  // Slots: three bins, half a slot's gap, "nincs": 4.5 slots across.
  EXPECT_EQ(h.bars[0].kind, RiskBar::Kind::kWithin);  // 15–16 ends at the period
  EXPECT_EQ(h.bars[1].kind, RiskBar::Kind::kBeyond);
  EXPECT_EQ(h.bars[3].kind, RiskBar::Kind::kNone);
  EXPECT_EQ(h.bars[3].runs, 2);
  EXPECT_EQ(h.bars[1].label, "16–17 év: 4 futás");
  EXPECT_NEAR(h.bars[0].left, 0.06 / 4.5, 1e-12);
  EXPECT_NEAR(h.bars[3].right, 4.44 / 4.5, 1e-12);
  EXPECT_LT(h.bars[2].right, h.bars[3].left);
  // Counts: the highest bar is 4, ticks 1 apart up to 4.
  ASSERT_EQ(h.run_ticks.size(), 5u);
  EXPECT_EQ(h.run_ticks.back().text, "4");
  EXPECT_DOUBLE_EQ(h.bars[1].height, 1.0);
  EXPECT_DOUBLE_EQ(h.bars[3].height, 0.5);
  // Years at every edge, then "nincs" under its bar.
  ASSERT_EQ(h.year_ticks.size(), 5u);
  EXPECT_EQ(h.year_ticks[0].text, "15");
  EXPECT_EQ(h.year_ticks[3].text, "18");
  EXPECT_EQ(h.year_ticks[4].text, "nincs");
  EXPECT_NEAR(h.year_ticks[4].at, 4.0 / 4.5, 1e-12);
  ASSERT_TRUE(h.period);
  EXPECT_NEAR(h.period->at, 1 / 4.5, 1e-12);
  EXPECT_EQ(h.period->text, "a vizsgált időszak vége (16 év)");
  EXPECT_EQ(h.description,
            "A megtérülési idő hisztogramja: 15–16 év: 3 futás; 16–17 év: 4 futás; 17–18 év: 1 "
            "futás; nincs: 2 futás.");
  // A period beyond the bins puts no mark; many bins get round labels only.
  EXPECT_FALSE(HistogramOf(HandMade(), MoneyOf(30), kHu).period);
  RiskResult wide = HandMade();
  wide.histogram.clear();
  for (int y = 3; y < 28; ++y) wide.histogram.push_back({MoneyOf(y), MoneyOf(y + 1), 1});
  const std::vector<RiskTick> ticks = HistogramOf(wide, std::nullopt, kHu).year_ticks;
  EXPECT_LE(ticks.size(), 14u);
  for (const RiskTick& tick : ticks) {
    if (tick.text != "nincs") {
      EXPECT_EQ(std::stoi(tick.text) % 2, 0) << tick.text;
    }
  }
}

}  // namespace
}  // namespace zr::test
