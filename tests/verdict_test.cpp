#include "verdict.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "test_inputs.h"

namespace zr {
namespace {

const NumberFormat kHu = NumberFormat::Hungarian();

struct VerdictCase {
  const char* name;
  std::int32_t balance;
  std::optional<double> payback;  // years; none: no payback within 100 years
  bool replaced = false;          // a box was replaced before the run
  bool fault = false;
  VerdictKind kind;
  const char* text;
};

// A run over a 25-year period with the given balance and payback time.
RunOutcome OutcomeOf(const VerdictCase& c) {
  RunOutcome out;
  out.inputs.Elettartam = Money::FromInt32(25);
  YearlyFigures y;
  y.Egyenleg = c.balance;
  out.results.yearly = y;
  if (c.payback) out.results.Megterulesiido = Money::FromDouble(*c.payback);
  if (c.replaced) out.findings.push_back({Field::Kamatlab, "Adjon meg számot!", "6"});
  if (c.fault) out.fault = std::string(kFaultMessage);
  return out;
}

class VerdictTable : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(VerdictTable, KindAndSentence) {
  const Verdict v = VerdictOf(OutcomeOf(GetParam()), kHu);
  EXPECT_EQ(v.kind, GetParam().kind);
  EXPECT_EQ(v.text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Verdict, VerdictTable,
    ::testing::Values(
        VerdictCase{"PaysOffWithin", 1234, 16.68, false, false, VerdictKind::kPaysOff,
                    "A beruházás a vizsgált 25 éves időszakon belül, 16,68 év alatt megtérül, és "
                    "évente átlagosan 1234 Ft nyereséget hoz."},
        VerdictCase{"PaysOffOnTheLastDay", 1, 25, false, false, VerdictKind::kPaysOff,
                    "A beruházás a vizsgált 25 éves időszakon belül, 25 év alatt megtérül, és "
                    "évente átlagosan 1 Ft nyereséget hoz."},
        VerdictCase{"PaysOffAtOnce", 90000, 0, false, false, VerdictKind::kPaysOff,
                    "A beruházás a vizsgált 25 éves időszakon belül szinte azonnal megtérül, és "
                    "évente átlagosan 90000 Ft nyereséget hoz."},
        VerdictCase{"PositiveBalancePaybackLater", 500, 25.01, false, false, VerdictKind::kPaysOff,
                    "A beruházás a vizsgált 25 éves időszak egészére számolva megtérül, és évente "
                    "átlagosan 500 Ft nyereséget hoz, bár a megtérülési idő (25,01 év) hosszabb "
                    "ennél."},
        VerdictCase{"PositiveBalanceNoPayback", 500, std::nullopt, false, false,
                    VerdictKind::kPaysOff,
                    "A beruházás a vizsgált 25 éves időszak egészére számolva megtérül, és évente "
                    "átlagosan 500 Ft nyereséget hoz, bár megtérülési időt 100 éven belül sem "
                    "talált a program."},
        VerdictCase{"BalanceZero", 0, 25, false, false, VerdictKind::kBreaksEven,
                    "A beruházás a vizsgált 25 éves időszak alatt éppen csak megtérül: a "
                    "megtakarítás fedezi a költségeket, de nyereséget nem hoz."},
        VerdictCase{"PaysOffLater", -2500, 31.5, false, false, VerdictKind::kDoesNotPayOff,
                    "A beruházás a vizsgált 25 éves időszakon belül nem térül meg (csak 31,5 év "
                    "alatt), és évente átlagosan 2500 Ft veszteséget okoz."},
        VerdictCase{"NeverPaysOff", -2147483647, std::nullopt, false, false,
                    VerdictKind::kDoesNotPayOff,
                    "A beruházás a vizsgált 25 éves időszakon belül nem térül meg, 100 év alatt "
                    "sem, és évente átlagosan 2147483647 Ft veszteséget okoz."},
        VerdictCase{"NegativeBalancePaybackWithin", -7, 12, false, false,
                    VerdictKind::kDoesNotPayOff,
                    "A beruházás a vizsgált 25 éves időszak egészére számolva nem térül meg, és "
                    "évente átlagosan 7 Ft veszteséget okoz, noha a megtérülési idő (12 év) az "
                    "időszakon belül van."},
        VerdictCase{"AfterAReplacement", -2500, std::nullopt, true, false,
                    VerdictKind::kDoesNotPayOff,
                    "A kijavított adatokkal számolva a beruházás a vizsgált 25 éves időszakon "
                    "belül nem térül meg, 100 év alatt sem, és évente átlagosan 2500 Ft "
                    "veszteséget okoz."},
        VerdictCase{"Fault", 1234, 16.68, false, true, VerdictKind::kNotComputed,
                    "Az eredmény nem számítható ki, mert a számítás túl nagy értékekhez "
                    "vezetett: adjon meg kisebb értékeket!"},
        VerdictCase{"FaultAfterAReplacement", 0, std::nullopt, true, true,
                    VerdictKind::kNotComputed,
                    "A kijavított adatokkal számolva az eredmény nem számítható ki, mert a "
                    "számítás túl nagy értékekhez vezetett: adjon meg kisebb értékeket!"}),
    [](const auto& info) { return std::string(info.param.name); });

// Real runs: the worked example, the separator of the format, a fault and a
// replaced period.
TEST(Verdict, FollowsTheRun) {
  const auto run = [](test::TextChanges changes, const NumberFormat& format) {
    return VerdictOf(CalculationRun(test::StartupTextsWith(changes, format), format), format).text;
  };
  EXPECT_EQ(run({}, kHu),
            "A beruházás a vizsgált 25 éves időszakon belül, 16,68 év alatt megtérül, és "
            "évente átlagosan 40631 Ft nyereséget hoz.");
  EXPECT_NE(run({}, NumberFormat{"."}).find(", 16.68 év alatt"), std::string::npos);
  EXPECT_EQ(
      VerdictOf(CalculationRun(test::StartupTextsWith({{Field::Akoll, "100000000000"}}), kHu), kHu)
          .kind,
      VerdictKind::kNotComputed);
  EXPECT_TRUE(run({{Field::Elettartam, "12,5"}}, kHu)
                  .starts_with("A beruházás a vizsgált 12,5 éves időszak"));
  EXPECT_TRUE(
      run({{Field::Elettartam, "0"}}, kHu)
          .starts_with("A kijavított adatokkal számolva a beruházás a vizsgált 20 éves időszakon"));
}

}  // namespace
}  // namespace zr
