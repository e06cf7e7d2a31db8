// The risk view's model: the generator against its published outputs, the
// triangular draw, nearest-rank percentiles, and whole risk runs whose
// figures can be told in advance.
#include "risk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "random.h"
#include "test_inputs.h"

namespace zr::test {
namespace {

const NumberFormat kHu = NumberFormat::Hungarian();

TEST(Generator, GivesTheReferenceOutputs) {
  // xoshiro256** from the state {1, 2, 3, 4}, as its reference code gives
  // them; SplitMix64 from 0.
  auto xoshiro = Xoshiro256StarStar::FromState({1, 2, 3, 4});
  for (const std::uint64_t expected :
       {11520ULL, 0ULL, 1509978240ULL, 1215971899390074240ULL, 1216172134540287360ULL,
        607988272756665600ULL, 16172922978634559625ULL, 8476171486693032832ULL,
        10595114339597558777ULL, 2904607092377533576ULL}) {
    EXPECT_EQ(xoshiro.Next(), expected);
  }
  SplitMix64 mix(0);
  for (const std::uint64_t expected :
       {0xE220A8397B1DCDAFULL, 0x6E789E6AA1B965F4ULL, 0x06C45D188009454FULL}) {
    EXPECT_EQ(mix.Next(), expected);
  }
  // Seeding takes the state from SplitMix64, so seed 0 is a good one too.
  Xoshiro256StarStar seeded(0),
      by_hand = Xoshiro256StarStar::FromState({0xE220A8397B1DCDAFULL, 0x6E789E6AA1B965F4ULL,
                                               0x06C45D188009454FULL, 0xF88BB8A8724C81ECULL});
  EXPECT_EQ(seeded.Next(), by_hand.Next());
}

TEST(TriangularDraw, HasTheDistributionsMeanAndVarianceAndStaysInRange) {
  // low 1, mode 2, high 5: mean 8/3, variance (1 + 4 + 25 - 2 - 5 - 10) / 18.
  const RiskRange range{Field::Energiaarvalt, MoneyOf(1), MoneyOf(2), MoneyOf(5)};
  Xoshiro256StarStar generator(7);
  constexpr int kDraws = 200000;
  double sum = 0, squares = 0;
  for (int i = 0; i < kDraws; ++i) {
    const double x = TriangularDraw(range, generator.NextUnit()).ToDouble();
    ASSERT_TRUE(x >= 1 && x <= 5) << x;
    sum += x;
    squares += x * x;
  }
  const double mean = sum / kDraws;
  // Tolerances of about four standard errors.
  EXPECT_NEAR(mean, 8.0 / 3, 0.008);
  EXPECT_NEAR(squares / kDraws - mean * mean, 13.0 / 18, 0.01);
  // The ends of the unit interval map to the ends of the range, the mode's
  // share of it to the mode.
  EXPECT_EQ(TriangularDraw(range, 0.0), MoneyOf(1));
  EXPECT_EQ(TriangularDraw(range, 0.25), MoneyOf(2));
  EXPECT_EQ(TriangularDraw(range, std::nextafter(1.0, 0.0)), MoneyOf(5));
  const RiskRange single{Field::Qkoll, MoneyOf(600), MoneyOf(600), MoneyOf(600)};
  EXPECT_EQ(TriangularDraw(single, 0.7), MoneyOf(600));
}

TEST(NearestRank, IsTheSmallestValueWithThePercentAtOrBelowIt) {
  struct Case {
    std::size_t n;
    int percent;
    std::size_t index;
  };
  for (const Case c : {Case{1, 10, 0}, Case{1, 90, 0}, Case{10, 10, 0}, Case{10, 50, 4},
                       Case{10, 90, 8}, Case{3, 50, 1}, Case{20, 90, 17}, Case{11, 10, 1}}) {
    EXPECT_EQ(NearestRankIndex(c.n, c.percent), c.index) << c.n << " " << c.percent;
  }
}

RiskResult RiskOf(TextChanges changes, std::vector<RiskRange> ranges, std::int64_t runs,
                  std::uint64_t seed = 1) {
  return RunRisk(StartupTextsWith(std::move(changes)), ranges, runs, seed, kHu);
}

TEST(RiskRun, ASingleValueRangeGivesTheScenarioItselfEveryTime) {
  const RiskRange six{Field::Energiaarvalt, MoneyOf(6), MoneyOf(6), MoneyOf(6)};
  const RiskResult r = RiskOf({}, {six}, 50);
  EXPECT_EQ(r.runs, 50);
  EXPECT_EQ(r.faults, 0);
  EXPECT_EQ(r.paying_back, 50);  // 16,68 years within 25
  ASSERT_TRUE(r.payback && r.balance);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(PaybackText((*r.payback)[i], kHu), "16,68");
    EXPECT_EQ((*r.balance)[i], 40631);
  }
  EXPECT_EQ(PaysBackShare(r), MoneyOf(1));
  ASSERT_EQ(r.histogram.size(), 1u);
  EXPECT_EQ(r.histogram[0].from, MoneyOf(16));
  EXPECT_EQ(r.histogram[0].runs, 50);
}

TEST(RiskRun, CountsNoPaybackAboveEveryPaybackAndFaultsApart) {
  // An energy price of 1 Ft/kWh never pays back: every percentile is "nincs".
  const RiskResult none = RiskOf({}, {{Field::Energiaar, MoneyOf(1), MoneyOf(1), MoneyOf(1)}}, 20);
  EXPECT_EQ(none.no_payback, 20);
  EXPECT_TRUE(none.histogram.empty());
  EXPECT_EQ(PaybackText((*none.payback)[0], kHu), "nincs");
  EXPECT_EQ(PaysBackShare(none), MoneyOf(0));
  // An investment that passes validation but overflows: every run faults.
  const Money huge = Money::FromRaw(9223372036854775800);
  const RiskResult faulty = RiskOf({}, {{Field::Beruhazas, huge, huge, huge}}, 5);
  EXPECT_EQ(faulty.faults, 5);
  EXPECT_FALSE(faulty.payback);
  EXPECT_FALSE(PaysBackShare(faulty));
}

TEST(RiskRun, TheSameSeedGivesTheSameFiguresAndAnotherSeedOthers) {
  const std::vector<RiskRange> ranges{{Field::Energiaarvalt, MoneyOf(2), MoneyOf(6), MoneyOf(9)},
                                      {Field::Qkoll, MoneyOf(450), MoneyOf(600), MoneyOf(650)}};
  const RiskResult a = RiskOf({}, ranges, 300, 42), b = RiskOf({}, ranges, 300, 42);
  const RiskResult c = RiskOf({}, ranges, 300, 43);
  EXPECT_EQ(a.balance, b.balance);
  EXPECT_EQ(a.payback, b.payback);
  EXPECT_NE(a.balance, c.balance);
  // A wide price-rise range spreads the payback: p10 below p90.
  ASSERT_TRUE(a.payback);
  EXPECT_LT(*(*a.payback)[0].years, *(*a.payback)[2].years);
  std::int64_t binned = a.no_payback;
  for (const HistogramBin& bin : a.histogram) binned += bin.runs;
  EXPECT_EQ(binned, a.runs - a.faults);
}

}  // namespace
}  // namespace zr::test
