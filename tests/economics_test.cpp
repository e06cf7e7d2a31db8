#include "economics.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "arithmetic_fault.h"
#include "checked_math.h"
#include "number_text.h"
#include "test_inputs.h"

namespace zr {
namespace {

const NumberFormat kHu = NumberFormat::Hungarian();

InputSet Inputs(test::TextChanges changes = {}) { return test::InputsWith(changes); }
using test::M;

TEST(Factors, GrowthFactorIsRoundedToFourDecimals) {
  EXPECT_EQ(GrowthFactor(M("6")), M("1,06"));
  EXPECT_EQ(GrowthFactor(M("3,333")), M("1,0333"));
  EXPECT_EQ(GrowthFactor(M("0")), M("1"));
  EXPECT_EQ(GrowthFactor(M("100")), M("2"));
}

TEST(Factors, WorkedExampleFactors) {
  const Money q = M("1,06");
  EXPECT_EQ(AnnuityFactor(M("25"), q), M("0,0782"));
  EXPECT_EQ(PresentValueFactor(M("25"), q, M("1,03")), M("17,0718"));
  EXPECT_EQ(PresentValueFactor(M("25"), q, q), M("23,5849"));  // t / q
  EXPECT_EQ(AnnuityFactor(M("1"), q), q);                      // one year: a = q
  EXPECT_EQ(AnnuityFactor(M("16,67"), q), M("0,0966"));
  EXPECT_EQ(AnnuityFactor(M("16,68"), q), M("0,0965"));
}

TEST(Factors, NearlyEqualRatesTakeTheEqualRatesForm) {
  // 6.001 % rounds to the same factor as 6 %: the closed form would be 0/0.
  const Money q = GrowthFactor(M("6"));
  const Money g = GrowthFactor(M("6,001"));
  ASSERT_EQ(g, q);
  EXPECT_EQ(PresentValueFactor(M("25"), q, g), M("23,5849"));
}

TEST(Factors, AFactorBeyondMoneyIsAFault) {
  // (2 / 1.01)^60 / 0.99 is about 6e17: no Money value.
  EXPECT_THROW(PresentValueFactor(M("60"), M("1,01"), M("2")), ArithmeticFault);
}

TEST(SubsidisedInvestment, ReducesByThePercentage) {
  EXPECT_EQ(SubsidisedInvestment(M("1000000"), M("50")), M("500000"));
  EXPECT_EQ(SubsidisedInvestment(M("999"), M("50")), M("499,5"));
  EXPECT_EQ(SubsidisedInvestment(M("1001"), M("50")), M("500,5"));
  EXPECT_EQ(SubsidisedInvestment(M("1000000"), M("100")), M("0"));
}

TEST(PeriodModel, FirstYearAmountsOfTheWorkedExample) {
  const InputSet in = Inputs();
  const PeriodModel m = MakePeriodModel(in, in.Beruhazas, YieldOf(in), in.Beruhazas);
  EXPECT_EQ(m.K1, M("5000"));
  EXPECT_EQ(m.U1, M("3456"));
  EXPECT_EQ(m.E1, M("2000"));
  EXPECT_EQ(m.S1, M("72000"));
  EXPECT_EQ(m.gK, M("1,03"));
  EXPECT_EQ(m.gS, M("1,06"));
}

// The products keep the grouping of the formulas; another grouping rounds
// its intermediate (more than four decimals here) elsewhere.
TEST(PeriodModel, ProductsKeepTheirGrouping) {
  const InputSet in = Inputs({{Field::Akoll, "6000"},
                              {Field::Villanyar, "48,1234"},
                              {Field::Uzemkolts, "0,1234"},
                              {Field::Beruhazas, "1000001"},
                              {Field::Karbkolts, "0,1234"}});
  const PeriodModel m = MakePeriodModel(in, in.Beruhazas, YieldOf(in), in.Beruhazas);
  // (3600000 × 48.1234) × 0.1234 / 100, not 3600000 × (48.1234 × 0.1234 → 5.9384) / 100.
  EXPECT_EQ(m.U1, M("213783,3922"));
  // 1000001 × 0.1234 / 100, not 1000001 × (0.001234 → 0.0012).
  EXPECT_EQ(m.K1, M("1234,0012"));
  // U1 × (f × a → 1.3350), not (U1 × f) × a: 285401 against 285404 Ft.
  const YearlyFigures y = AnnualEconomics(in, in.Beruhazas);
  EXPECT_EQ(y.Uzemeveskolts, 285401);
  EXPECT_EQ(y.Karbeveskolts, 1647);
}

struct Scenario {
  const char* name;
  test::TextChanges changes;
  YearlyFigures expected;
};

class AnnualEconomicsCase : public ::testing::TestWithParam<Scenario> {};

TEST_P(AnnualEconomicsCase, ShowsTheExpectedFigures) {
  const InputSet in = Inputs(GetParam().changes);
  const YearlyFigures y = AnnualEconomics(in, SubsidisedInvestment(in.Beruhazas, in.Tamogatas));
  const YearlyFigures& e = GetParam().expected;
  EXPECT_EQ(y.Hozam, e.Hozam);
  EXPECT_EQ(y.Eveskolts, e.Eveskolts);
  EXPECT_EQ(y.Karbeveskolts, e.Karbeveskolts);
  EXPECT_EQ(y.Uzemeveskolts, e.Uzemeveskolts);
  EXPECT_EQ(y.Egyebeveskolts, e.Egyebeveskolts);
  EXPECT_EQ(y.Osszeskolts, e.Osszeskolts);
  EXPECT_EQ(y.Szolarhoar, e.Szolarhoar);
  EXPECT_EQ(y.Megtakariteves, e.Megtakariteves);
  EXPECT_EQ(y.Egyenleg, e.Egyenleg);
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, AnnualEconomicsCase,
    ::testing::Values(
        Scenario{"Startup", {}, {3600, 78200, 6675, 4614, 2670, 92159, 26, 132790, 40631}},
        // The shown maintenance and other costs stay on the full investment.
        Scenario{"HalfSubsidy",
                 {{Field::Tamogatas, "50"}},
                 {3600, 39100, 6675, 4614, 2670, 53059, 15, 132790, 79731}},
        Scenario{"FullSubsidy",
                 {{Field::Tamogatas, "100"}},
                 {3600, 0, 6675, 4614, 2670, 13959, 4, 132790, 118831}},
        Scenario{"FullResidualValue",
                 {{Field::Maradvanyertek, "100"}},
                 {3600, 0, 6675, 4614, 2670, 13959, 4, 132790, 118831}},
        Scenario{"ResidualValue20",
                 {{Field::Maradvanyertek, "20"}},
                 {3600, 62560, 6675, 4614, 2670, 76519, 21, 132790, 56271}},
        Scenario{"MaintenanceRiseEqualsInterest",
                 {{Field::Karbkoltsvalt, "6"}},
                 {3600, 78200, 9222, 4614, 2670, 94706, 26, 132790, 38084}},
        Scenario{"NegativeBalance",
                 {{Field::Energiaarvalt, "0"}},
                 {3600, 78200, 6675, 4614, 2670, 92159, 26, 71978, -20181}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnnualEconomics, YieldBeyondThirtyTwoBitsIsAFault) {
  const InputSet in = Inputs({{Field::Akoll, "100000000000"}});
  EXPECT_THROW(AnnualEconomics(in, in.Beruhazas), ArithmeticFault);
}

// A period evaluation takes q, g / q and q - g from its model; it must give
// what the one-call factors give, for every way the growth factors can
// coincide: all equal to q, some shared, all distinct, and q = 1.
TEST(PeriodModel, EvaluationAgreesWithTheOneCallFactors) {
  const test::TextChanges scenarios[] = {
      {},
      {{Field::Karbkoltsvalt, "6"}, {Field::Uzemkoltsvalt, "6"}, {Field::Egyebkoltsvalt, "6"}},
      {{Field::Karbkoltsvalt, "1,5"}, {Field::Uzemkoltsvalt, "7,25"}, {Field::Energiaarvalt, "0"}},
      {{Field::Egyebkoltsvalt, "6,001"}, {Field::Maradvanyertek, "12,5"}},
      {{Field::Kamatlab, "0"}, {Field::Tamogatas, "33,3"}},
  };
  for (const test::TextChanges& changes : scenarios) {
    const InputSet in = Inputs(changes);
    const PeriodModel m = test::ChartModel(in);
    for (const char* text : {"0,1", "1", "16,68", "25", "99,99"}) {
      const Money t = M(text);
      const PeriodFigures p = PeriodEvaluation(m, t);
      const Money a = AnnuityFactor(t, m.q);
      const auto levelised = [&](Money first_year, Money g) {
        return Int32(first_year * (PresentValueFactor(t, m.q, g) * a));
      };
      EXPECT_EQ(p.a, a) << text;
      EXPECT_EQ(p.Eveskolts, Int32(Checked(Dbl(m.V) * m.capital_share) * Dbl(a))) << text;
      EXPECT_EQ(p.Karbeveskolts, levelised(m.K1, m.gK)) << text;
      EXPECT_EQ(p.Uzemeveskolts, levelised(m.U1, m.gU)) << text;
      EXPECT_EQ(p.Egyebeveskolts, levelised(m.E1, m.gE)) << text;
      EXPECT_EQ(p.Megtakariteves, levelised(m.S1, m.gS)) << text;
    }
  }
}

}  // namespace
}  // namespace zr
