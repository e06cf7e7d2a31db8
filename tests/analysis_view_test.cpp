// The analysis view's model: captions split from their units, the figures
// as texts, and the tornado chart's ends, order, scale and anchors, which
// the window and the page only draw.

#include "analysis_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "test_inputs.h"

namespace zr {
namespace {

using test::M;
const NumberFormat kHu = NumberFormat::Hungarian();
using Place = TornadoPlace::Kind;

TEST(AnalysisTexts, OneEntryPerTextUnderItsOwnKey) {
  std::set<std::string_view> keys;
  for (std::size_t i = 0; i < kAnalysisTexts.size(); ++i) {
    EXPECT_EQ(static_cast<std::size_t>(kAnalysisTexts[i].id), i) << kAnalysisTexts[i].key;
    EXPECT_FALSE(kAnalysisTexts[i].text.empty()) << kAnalysisTexts[i].key;
    EXPECT_TRUE(keys.insert(kAnalysisTexts[i].key).second) << kAnalysisTexts[i].key;
  }
}

TEST(SplitCaption, SplitsTheUnitOffTheShownCaption) {
  const std::pair<const char*, CaptionParts> cases[] = {
      {"Referencia kamatláb, p [%]:", {"Referencia kamatláb, p", "%"}},
      {"Éves karbantartási költség a beruházás százalékában, [%]: ",
       {"Éves karbantartási költség a beruházás százalékában", "%"}},
      {"Napkollektorok fajlagos energiahozama, Qkoll [kWh/(m2.év)]",
       {"Napkollektorok fajlagos energiahozama, Qkoll", "kWh/(m2.év)"}},
      {"Nincs mértékegysége:", {"Nincs mértékegysége", ""}},
      {"Fordított ] zárójelek [:", {"Fordított ] zárójelek [", ""}},
  };
  for (const auto& [shown, expected] : cases) {
    const CaptionParts split = SplitCaption(shown);
    EXPECT_EQ(split.text, expected.text) << shown;
    EXPECT_EQ(split.unit, expected.unit) << shown;
  }
}

// --- Hand-made analyses: one bar, with the figures a test names ------------

// "nincs", "hiba" (a fault), "kívül" (out of range) or a payback time.
SensitivityCase Case(int percent, const std::string& figure) {
  SensitivityCase c;
  c.percent = percent;
  if (figure == "kívül") {
    c.out_of_range = true;
  } else if (figure == "nincs") {
    c.payback = PaybackTime{};
  } else if (figure != "hiba") {
    c.payback = PaybackTime{M(figure)};
  }
  return c;
}

// The scenario's own payback (the same words) and the four cases of Energiaar.
Analysis OneBar(const std::string& base, std::array<const char*, 4> cases) {
  Analysis a;
  if (base != "hiba") a.payback = base == "nincs" ? PaybackTime{} : PaybackTime{M(base)};
  Sensitivity s{Field::Energiaar, {}};
  for (std::size_t i = 0; i < cases.size(); ++i) s.cases[i] = Case(kSensitivitySteps[i], cases[i]);
  a.sensitivity.push_back(s);
  return a;
}

std::vector<std::string> TickTexts(const Tornado& t) {
  std::vector<std::string> texts;
  for (const TornadoTick& tick : t.ticks) texts.push_back(tick.text);
  return texts;
}

TEST(Tornado, ScaleTicksAtOneTwoOrFiveTimesAPowerOfTen) {
  struct Row {
    const char* base;
    std::array<const char*, 4> cases;
    std::vector<std::string> ticks;
  };
  const Row rows[] = {
      {"16,68", {"21,35", "19", "15", "13,66"}, {"12", "14", "16", "18", "20", "22"}},
      // A span under half a year is widened to half a year: 0.1 apart.
      {"5,02", {"5,1", "5", "5", "4,95"}, {"4,9", "5", "5,1"}},
      {"0", {"0,3", "0,2", "0,1", "0"}, {"0", "0,1", "0,2", "0,3"}},
      {"40", {"95", "60", "20", "3"}, {"0", "20", "40", "60", "80", "100"}},
      // Nothing but "nincs" or faults: the whole century.
      {"nincs", {"nincs", "nincs", "hiba", "hiba"}, {"0", "20", "40", "60", "80", "100"}},
  };
  for (const Row& r : rows) {
    const Tornado t = TornadoOf(OneBar(r.base, r.cases), kHu);
    EXPECT_EQ(TickTexts(t), r.ticks) << r.base;
    ASSERT_FALSE(t.ticks.empty());
    EXPECT_EQ(t.ticks.front().at, 0) << r.base;
    EXPECT_EQ(t.ticks.back().at, 1) << r.base;
  }
}

TEST(Tornado, EndsArePlacedOnTheScaleOrInTheBand) {
  const Tornado t = TornadoOf(OneBar("16,68", {"nincs", "30", "15", "kívül"}), kHu);
  EXPECT_EQ(t.band, std::optional<std::string>("nincs"));
  EXPECT_EQ(t.base_text, "16,68");
  EXPECT_EQ(t.base.kind, Place::kTime);
  ASSERT_EQ(t.bars.size(), 1u);
  const TornadoBar& bar = t.bars[0];
  // −20 % has no payback: in the band. +20 % is out of range, +10 % is not: that end.
  EXPECT_EQ(bar.minus.kind, TornadoEnd::Kind::kNoPayback);
  EXPECT_EQ(bar.minus.text, "nincs");
  EXPECT_EQ(bar.minus.place.kind, Place::kBand);
  EXPECT_EQ(bar.plus.kind, TornadoEnd::Kind::kYears);
  EXPECT_EQ(bar.plus.percent, 10);
  EXPECT_EQ(bar.plus.percent_text, "+10 %");
  // 15 and 16.68 on a scale of 15 to 17 (0.5 apart).
  EXPECT_EQ(TickTexts(t), (std::vector<std::string>{"15", "15,5", "16", "16,5", "17"}));
  EXPECT_EQ(bar.plus.place, (TornadoPlace{Place::kTime, 0}));
  EXPECT_DOUBLE_EQ(t.base.at, 0.84);
  EXPECT_EQ(bar.anchor, t.base);

  // Out of range either way, on both sides: both ends say why, nowhere.
  const Tornado out = TornadoOf(OneBar("nincs", {"kívül", "kívül", "hiba", "hiba"}), kHu);
  EXPECT_EQ(out.bars[0].minus.text, "tartományon kívül");
  EXPECT_EQ(out.bars[0].minus.percent_text, "\u221220 %");
  EXPECT_EQ(out.bars[0].plus.text, "nem számítható");
  EXPECT_EQ(out.bars[0].minus.place.kind, Place::kNowhere);
  EXPECT_EQ(out.bars[0].anchor.kind, Place::kBand);  // the base "nincs"
}

// The scenario's own run ends on a fault: no centre is invented; a bar covers
// the range of its cases, from its lower end.
TEST(Tornado, WithoutABaseABarStartsAtItsLowerEnd) {
  struct Row {
    std::array<const char*, 4> cases;
    Place anchor;
    double at;
  };
  const Row rows[] = {
      {{"14", "13", "11", "10"}, Place::kTime, 0},  // the +20 % end, 10 years
      {{"10", "11", "13", "14"}, Place::kTime, 0},  // the −20 % end
      {{"hiba", "hiba", "nincs", "nincs"}, Place::kBand, 0},
      {{"kívül", "kívül", "hiba", "hiba"}, Place::kNowhere, 0},
  };
  for (const Row& r : rows) {
    const Tornado t = TornadoOf(OneBar("hiba", r.cases), kHu);
    EXPECT_EQ(t.base_text, "nem számítható");
    EXPECT_EQ(t.base.kind, Place::kNowhere);
    EXPECT_EQ(t.bars[0].anchor, (TornadoPlace{r.anchor, r.at})) << r.cases[0];
  }
}

// The start-up scenario: the energy price moves the payback most, the
// service life not at all; bars reaching "nincs" count wider than any time.
TEST(Tornado, TheWidestBarOnTop) {
  const Tornado startup = TornadoOf(Analyse(test::InputsWith({}), kHu), kHu);
  ASSERT_EQ(startup.bars.size(), 14u);
  EXPECT_EQ(startup.bars.front().field, Field::Energiaar);
  EXPECT_EQ(startup.bars.front().minus.text, "21,35");
  EXPECT_EQ(startup.bars.back().field, Field::Elettartam);
  EXPECT_EQ(startup.base_text, "16,68");
  EXPECT_FALSE(startup.band);

  const Tornado low = TornadoOf(Analyse(test::InputsWith({{Field::Energiaar, "3"}}), kHu), kHu);
  ASSERT_FALSE(low.bars.empty());
  EXPECT_EQ(low.base_text, "nincs");
  EXPECT_TRUE(low.band);
  // Every bar that reaches a time stands above those with "nincs" alone.
  const auto reaches_time = [](const TornadoBar& b) {
    return b.minus.place.kind == Place::kTime || b.plus.place.kind == Place::kTime;
  };
  EXPECT_TRUE(std::is_partitioned(low.bars.begin(), low.bars.end(), reaches_time));
  EXPECT_TRUE(std::any_of(low.bars.begin(), low.bars.end(), reaches_time));
}

TEST(AnalysisFigures, TextsOrWhyNot) {
  const AnalysisFigures startup = FiguresOf(Analyse(test::InputsWith({}), kHu), kHu);
  EXPECT_EQ(startup.npv, "519610");
  EXPECT_EQ(startup.internal_rate, "9,6749");
  EXPECT_EQ(startup.simple_payback, "11,47");
  Analysis none;
  none.internal_rate.why = "ok";
  const AnalysisFigures empty = FiguresOf(none, kHu);
  EXPECT_EQ(empty.npv, "nem számítható ki");
  EXPECT_EQ(empty.internal_rate, "ok");
  EXPECT_EQ(empty.simple_payback, "nincs");
}

}  // namespace
}  // namespace zr
