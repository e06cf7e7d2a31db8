#include "analysis.h"

#include <gtest/gtest.h>

#include <string>

#include "calculation_run.h"
#include "number_text.h"
#include "test_inputs.h"
#include "validation.h"

namespace zr {
namespace {

const NumberFormat kHu = NumberFormat::Hungarian();
using test::M;

std::optional<std::int32_t> BalanceWith(InputSet in, Field field, std::int64_t raw) {
  in[field] = Money::FromRaw(raw);
  return BalanceOf(in);
}

struct Scenario {
  const char* name;
  test::TextChanges changes;
};

class BreakEvenScenario : public ::testing::TestWithParam<Scenario> {};

// Every reported value is a true boundary inside the valid range, with no
// change of sign between it and the current value; where none is reported
// the balance keeps the current value's sign at both ends of the range.
TEST_P(BreakEvenScenario, EachValueIsTheNearestTrueBoundary) {
  const InputSet in = test::InputsWith(GetParam().changes);
  const std::optional<std::int32_t> current_balance = BalanceOf(in);
  ASSERT_TRUE(current_balance);
  const bool reached_now = *current_balance >= 0;
  for (Field f : kAllFields) {
    SCOPED_TRACE(std::string(FieldName(f)));
    const BreakEven b = BreakEvenValue(in, f);
    const std::int64_t now = in[f].Raw();
    if (!b.value) {
      EXPECT_FALSE(b.why.empty());
      const ValidationRule& rule = RuleFor(f);
      const std::int64_t low = Money::FromDouble(rule.lower).Raw();
      ASSERT_TRUE(BalanceWith(in, f, low));
      EXPECT_EQ(*BalanceWith(in, f, low) >= 0, reached_now);
      if (rule.upper) {
        const std::int64_t high = Money::FromDouble(*rule.upper).Raw();
        // Where the arithmetic gives out before the end, the reason says so.
        if (const auto balance = BalanceWith(in, f, high)) {
          EXPECT_EQ(*balance >= 0, reached_now);
        } else {
          EXPECT_NE(b.why.find("ameddig kiszámítható"), std::string::npos) << b.why;
        }
      }
      continue;
    }
    const std::int64_t at = b.value->Raw();
    EXPECT_FALSE(CheckText(RuleFor(f), MoneyText(*b.value, kHu), kHu))
        << "validation would replace it";
    ASSERT_TRUE(BalanceWith(in, f, at));
    EXPECT_GE(*BalanceWith(in, f, at), 0);
    // One step towards the current value when the balance is short now,
    // away from it when it is reached now: the losing side.
    const std::int64_t losing = (at > now) == reached_now ? at + 1 : at - 1;
    ASSERT_TRUE(BalanceWith(in, f, losing));
    EXPECT_LT(*BalanceWith(in, f, losing), 0);
    // No change of sign on the way there (checked at 200 points).
    const std::int64_t near_end = reached_now ? at : losing;
    for (int i = 1; i < 200; ++i) {
      const std::int64_t x = now + (near_end - now) / 200 * i;
      const std::optional<std::int32_t> balance = BalanceWith(in, f, x);
      ASSERT_TRUE(balance) << x;
      EXPECT_EQ(*balance >= 0, reached_now) << x;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, BreakEvenScenario,
    ::testing::Values(Scenario{"Startup", {}}, Scenario{"HalfSubsidy", {{Field::Tamogatas, "50"}}},
                      // Short now: the boundaries lie on the winning side.
                      Scenario{"NoPriceRise", {{Field::Energiaarvalt, "0"}}},
                      Scenario{"ShortLife", {{Field::Elettartam, "5"}}},
                      Scenario{"LargePlant",
                               {{Field::Beruhazas, "300000000"}, {Field::Akoll, "1800"}}},
                      Scenario{"Fractions",
                               {{Field::Karbkolts, "1,2345"},
                                {Field::Energiaar, "27,5"},
                                {Field::Elettartam, "33,3333"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BreakEven, StartupValuesAndTheInputsThatNeverTurnTheBalance) {
  const InputSet in = test::InputsWith({});
  EXPECT_EQ(BreakEvenValue(in, Field::Energiaar).value, M("13,8804"));
  EXPECT_EQ(BreakEvenValue(in, Field::Elettartam).value, M("16,6739"));
  // A subsidy or a residual value only helps: the balance, positive at 0,
  // never turns negative.
  for (Field f : {Field::Tamogatas, Field::Maradvanyertek}) {
    const BreakEven b = BreakEvenValue(in, f);
    EXPECT_FALSE(b.value);
    EXPECT_EQ(b.why, "Az egyenleg a megengedett tartományban végig nemnegatív.");
  }
  const InputSet short_now =
      test::InputsWith({{Field::Energiaar, "1"}, {Field::Energiaarvalt, "0"}});
  const BreakEven never = BreakEvenValue(short_now, Field::Tamogatas);
  EXPECT_FALSE(never.value);
  EXPECT_EQ(never.why, "Az egyenleg a megengedett tartományban végig negatív.");
  // A dearer electricity only adds cost, up to where the figures give out.
  EXPECT_EQ(BreakEvenValue(short_now, Field::Villanyar).why,
            "Az egyenleg a megengedett tartományban végig negatív (ameddig kiszámítható).");
  const InputSet too_large = test::InputsWith({{Field::Beruhazas, "900000000000000"}});
  EXPECT_EQ(BreakEvenValue(too_large, Field::Akoll).why,
            "Az egyenleg a jelenlegi értékekkel nem számítható ki.");
}

// Flat savings against maintenance growing 20 % a year: the balance is
// reached only for periods from about 10.56 to 19.94 years. From 16 years
// the upper boundary is the nearer one, though the lower is found first.
TEST(BreakEven, TheNearerOfTwoBoundariesWins) {
  const InputSet in = test::InputsWith({{Field::Elettartam, "16"},
                                        {Field::Karbkolts, "1"},
                                        {Field::Karbkoltsvalt, "20"},
                                        {Field::Energiaar, "45"},
                                        {Field::Energiaarvalt, "0"}});
  ASSERT_LT(*BalanceWith(in, Field::Elettartam, M("10").Raw()), 0);
  EXPECT_EQ(BreakEvenValue(in, Field::Elettartam).value, M("19,9377"));
  EXPECT_LT(*BalanceWith(in, Field::Elettartam, M("19,9378").Raw()), 0);
}

// The sensitivity cases show what a run with the changed value typed in
// shows; values that validation would replace are reported, not clipped.
TEST(Sensitivity, CasesAreRunsWithTheChangedValue) {
  const InputSet in = test::InputsWith({{Field::Tamogatas, "90"}, {Field::Elettartam, "45"}});
  const std::vector<Sensitivity> all = SensitivityOf(in, kHu);
  std::size_t nonzero = 0;
  for (Field f : kAllFields) nonzero += in[f] != MoneyOf(0);
  ASSERT_EQ(all.size(), nonzero);
  for (const Sensitivity& s : all) {
    for (const SensitivityCase& c : s.cases) {
      SCOPED_TRACE(std::string(FieldName(s.field)) + " " + std::to_string(c.percent));
      EXPECT_EQ(c.value, in[s.field] * M(c.percent < 0 ? (c.percent == -20 ? "0,8" : "0,9")
                                                       : (c.percent == 10 ? "1,1" : "1,2")));
      InputTexts texts;
      for (Field f : kAllFields) texts[Index(f)] = MoneyText(f == s.field ? c.value : in[f], kHu);
      const RunOutcome run = CalculationRun(texts, kHu);
      EXPECT_EQ(c.out_of_range, !run.findings.empty());
      if (c.out_of_range) continue;
      ASSERT_TRUE(c.payback);
      EXPECT_EQ(PaybackText(*c.payback, kHu), run.labels[static_cast<std::size_t>(ResultLabel::L)]);
      EXPECT_EQ(c.balance, run.labels[static_cast<std::size_t>(ResultLabel::Egyenlegb)]);
    }
  }
  // 90 % + 20 % and 45 years + 20 % leave their ranges; -20 % stays in.
  ASSERT_EQ(all[0].field, Field::Elettartam);
  ASSERT_EQ(all[2].field, Field::Tamogatas);
  EXPECT_TRUE(all[0].cases[3].out_of_range);
  EXPECT_TRUE(all[2].cases[3].out_of_range);
  EXPECT_FALSE(all[2].cases[0].out_of_range);
}

// An investment near the top of Money: raised by 10 % or 20 % it no longer
// fits, which is out of range like any value validation would replace.
TEST(Sensitivity, AChangedValueBeyondMoneyIsOutOfRange) {
  const InputSet in = test::InputsWith({{Field::Beruhazas, "900000000000000"}});
  const std::vector<Sensitivity> all = SensitivityOf(in, kHu);
  ASSERT_EQ(all[1].field, Field::Beruhazas);
  EXPECT_FALSE(all[1].cases[0].out_of_range);
  EXPECT_FALSE(all[1].cases[1].out_of_range);
  EXPECT_TRUE(all[1].cases[2].out_of_range);
  EXPECT_TRUE(all[1].cases[3].out_of_range);
  EXPECT_NO_THROW(Analyse(in, kHu));
}

TEST(Analysis, NetPresentValueAndSimplePayback) {
  // Start-up: 72000 × 23.5849 − 1000000 − (5000 + 3456 + 2000) × 17.0718.
  EXPECT_EQ(NetPresentValue(test::InputsWith({})), 519610);
  // Its annuity (× 0.0782) is the shown balance, 40631 Ft, to a few Ft.
  EXPECT_NEAR(519610 * 0.0782, 40631, 5);
  // Undiscounted, the same installation pays back in 11.47 years, not 16.68.
  EXPECT_EQ(SimplePayback(test::InputsWith({})), M("11,47"));
  EXPECT_EQ(SimplePayback(test::InputsWith({{Field::Tamogatas, "100"}})), M("0"));
  EXPECT_EQ(SimplePayback(test::InputsWith({{Field::Energiaar, "1"}, {Field::Energiaarvalt, "0"}})),
            std::nullopt);

  // Each cost grows at its own rate; the subsidy and the residual value cut
  // the investment, while maintenance and other costs stay on the full one:
  // 72000 × f(6 %) − 800000 × 0.9 − 5000 × f(2 %) − 3456 × f(4 %) − 2000 × f(5 %)
  // = 1698112.8 − 720000 − 77217.5 − 65467.6992 − 42196.8 = 793230.8008,
  // with f(6 %) 23.5849, f(2 %) 15.4435, f(4 %) 18.9432, f(5 %) 21.0984.
  EXPECT_EQ(NetPresentValue(test::InputsWith({{Field::Tamogatas, "20"},
                                              {Field::Maradvanyertek, "10"},
                                              {Field::Karbkoltsvalt, "2"},
                                              {Field::Uzemkoltsvalt, "4"},
                                              {Field::Egyebkoltsvalt, "5"}})),
            793231);
  // Half subsidised, the costs rest on the 500000 Ft paid: over t years the
  // savings 72000 × (1.06^t − 1) / 0.06 against 500000 + (2500 + 3456 + 1000)
  // × (1.03^t − 1) / 0.03 fall 319 Ft short at 6.46 and exceed by 617 Ft at
  // 6.47. On the gross 1000000 Ft (costs 5000 + 3456 + 2000) it would be 6.74.
  EXPECT_EQ(SimplePayback(test::InputsWith({{Field::Tamogatas, "50"}})), M("6,47"));

  const Analysis a = Analyse(test::InputsWith({}), kHu);
  EXPECT_EQ(a.internal_rate.value, M("9,6749"));
  EXPECT_EQ(a.internal_rate.value, a.break_even[Index(Field::Kamatlab)].value);
}

}  // namespace
}  // namespace zr
