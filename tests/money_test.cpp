#include "money.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "arithmetic_fault.h"
#include "checked_math.h"
#include "rounding.h"

namespace zr {
namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

struct DoubleCase {
  const char* name;
  double x;
  std::int64_t raw;
};
class MoneyFromDouble : public ::testing::TestWithParam<DoubleCase> {};

TEST_P(MoneyFromDouble, RoundsToNearestTenThousandthTiesToEven) {
  EXPECT_EQ(Money::FromDouble(GetParam().x).Raw(), GetParam().raw);
}

INSTANTIATE_TEST_SUITE_P(Cases, MoneyFromDouble,
                         ::testing::Values(DoubleCase{"Exact", 1.06, 10600},
                                           DoubleCase{"TieToEvenZero", 0.00005, 0},
                                           DoubleCase{"TieToEvenTwo", 0.00025, 2},
                                           // 0.00015 × 10000 is 1.4999999999999998 in doubles
                                           DoubleCase{"JustBelowATie", 0.00015, 1},
                                           DoubleCase{"NegativeTieToEvenTwo", -0.00025, -2},
                                           DoubleCase{"NegativeTieToEvenFour", -0.00035, -4},
                                           DoubleCase{"Quotient", 25.0 / 1.06, 235849},
                                           DoubleCase{"ManyDecimals", 0.078227, 782}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MoneyFromDoubleLimits, NonFiniteAndOutOfRangeAreFaults) {
  EXPECT_THROW(Money::FromDouble(std::numeric_limits<double>::infinity()), ArithmeticFault);
  EXPECT_THROW(Money::FromDouble(std::nan("")), ArithmeticFault);
  EXPECT_THROW(Money::FromDouble(9.3e14), ArithmeticFault);
  EXPECT_THROW(Money::FromDouble(-9.3e14), ArithmeticFault);
  EXPECT_NO_THROW(Money::FromDouble(9.2e14));
}

TEST(MoneyProduct, ExactProductRoundsHalfToEven) {
  // 0.0001 × 0.5 = 0.00005: a tie, to even 0; 0.0003 × 0.5 = 0.00015 → 0.0002.
  EXPECT_EQ((Money::FromRaw(1) * Money::FromRaw(5000)).Raw(), 0);
  EXPECT_EQ((Money::FromRaw(3) * Money::FromRaw(5000)).Raw(), 2);
  EXPECT_EQ((Money::FromRaw(-3) * Money::FromRaw(5000)).Raw(), -2);
  EXPECT_EQ((Money::FromRaw(5) * Money::FromRaw(5000)).Raw(), 2);
  // 17.0718 × 0.0782 = 1.33501476 → 1.3350.
  EXPECT_EQ((Money::FromRaw(170718) * Money::FromRaw(782)).Raw(), 13350);
}

TEST(MoneyProduct, NeedsMoreThanSixtyFourBitsInBetween) {
  // 900000000 × 900000 = 8.1e14 fits, though the raw product is ~8.1e22.
  const Money a = MoneyOf(900000000);
  const Money b = MoneyOf(900000);
  EXPECT_EQ((a * b).Raw(), 810000000000000LL * Money::kScale);
  EXPECT_THROW(MoneyOf(1000000000) * MoneyOf(1000000), ArithmeticFault);
}

TEST(MoneyProduct, TiesBeyondSixtyFourBitsGoToEven) {
  // Raw products of 1.5e19 and 2.5e19 ending in 5000: exact ties past the
  // 64-bit range, rounded away from an odd quotient and kept at an even one.
  const Money odd = Money::FromRaw(1000000000000001);
  EXPECT_EQ((odd * Money::FromRaw(15000)).Raw(), 1500000000000002);
  EXPECT_EQ((odd * Money::FromRaw(25000)).Raw(), 2500000000000002);
  EXPECT_EQ((odd * Money::FromRaw(-15000)).Raw(), -1500000000000002);
  EXPECT_EQ((odd * Money::FromRaw(-25000)).Raw(), -2500000000000002);
  // Just off the tie on either side.
  EXPECT_EQ((Money::FromRaw(1000000000000003) * Money::FromRaw(15001)).Raw(), 1500100000000005);
  EXPECT_EQ((Money::FromRaw(999999999999999) * Money::FromRaw(15000)).Raw(), 1499999999999998);
}

TEST(MoneySum, LeavingTheRangeIsAFault) {
  EXPECT_THROW(Money::FromRaw(kMax) + Money::FromRaw(1), ArithmeticFault);
  EXPECT_THROW(Money::FromRaw(kMin) - Money::FromRaw(1), ArithmeticFault);
  EXPECT_EQ((Money::FromRaw(kMax) - Money::FromRaw(kMax)).Raw(), 0);
  EXPECT_EQ((MoneyOf(1) - Money::FromRaw(100)).Raw(), 9900);
}

TEST(MoneyToInt32, RoundsHalfToEvenAndChecksRange) {
  EXPECT_EQ(Money::FromRaw(25000).ToInt32(), 2);
  EXPECT_EQ(Money::FromRaw(35000).ToInt32(), 4);
  EXPECT_EQ(Money::FromRaw(-25000).ToInt32(), -2);
  EXPECT_EQ(Money::FromRaw(-25001).ToInt32(), -3);
  EXPECT_EQ(Money::FromRaw(24999).ToInt32(), 2);
  EXPECT_EQ(MoneyOf(std::numeric_limits<std::int32_t>::max()).ToInt32(),
            std::numeric_limits<std::int32_t>::max());
  EXPECT_THROW(Money::FromRaw((std::int64_t{1} << 31) * Money::kScale - 5000).ToInt32(),
               ArithmeticFault);
  EXPECT_THROW(Money::FromRaw(kMin).ToInt32(), ArithmeticFault);
}

TEST(CheckedDouble, Int32RoundsHalfToEvenAndChecksRange) {
  EXPECT_EQ(Int32(2.5), 2);
  EXPECT_EQ(Int32(3.5), 4);
  EXPECT_EQ(Int32(-2.5), -2);
  EXPECT_EQ(Int32(25.6), 26);
  EXPECT_EQ(Int32(2147483647.4), 2147483647);
  EXPECT_THROW(Int32(2147483647.5), ArithmeticFault);
  EXPECT_THROW(Int32(-2147483648.6), ArithmeticFault);
  EXPECT_THROW(Int32(std::nan("")), ArithmeticFault);
}

TEST(CheckedDouble, NonFiniteStepsAndWholeNumberOverflowAreFaults) {
  EXPECT_THROW(Checked(1.0 / 0.0), ArithmeticFault);
  EXPECT_THROW(Checked(std::nan("")), ArithmeticFault);
  EXPECT_EQ(Checked(1e-320), 1e-320);  // underflow is not a fault
  EXPECT_THROW(Add32(std::numeric_limits<std::int32_t>::max(), 1), ArithmeticFault);
  EXPECT_THROW(Sub32(std::numeric_limits<std::int32_t>::min(), 1), ArithmeticFault);
  EXPECT_EQ(Sub32(-250, 0), -250);
}

// The library's nearbyint, which the checked conversions used to call, is
// the reference: every value, sign of zero included.
TEST(RoundHalfEven, AgreesWithNearbyint) {
  const double cases[] = {0.5,
                          1.5,
                          2.5,
                          -0.5,
                          -2.5,
                          -3.5,
                          0.49999999999999994,
                          -0.3,
                          -0.0,
                          0.0,
                          4503599627370495.5,
                          -4503599627370495.5,
                          4503599627370496.0,
                          9007199254740993.0,
                          1e300,
                          -1e300,
                          5e-324,
                          std::numeric_limits<double>::infinity()};
  for (const double x : cases) {
    const double expected = std::nearbyint(x);
    EXPECT_EQ(RoundHalfEven(x), expected) << x;
    EXPECT_EQ(std::signbit(RoundHalfEven(x)), std::signbit(expected)) << x;
  }
  EXPECT_TRUE(std::isnan(RoundHalfEven(std::nan(""))));
}

TEST(DivideRoundHalfEven, RoundsEveryRemainderLikeTheRule) {
  struct Case {
    std::int64_t numerator, quotient;
  };
  const Case cases[] = {{0, 0},
                        {4999, 0},
                        {5000, 0},
                        {5001, 1},
                        {15000, 2},
                        {25000, 2},
                        {-5000, 0},
                        {-15000, -2},
                        {-15001, -2},
                        {-14999, -1},
                        {kMax, kMax / 10000 + 1},
                        {kMin, kMin / 10000 - 1}};
  for (const auto& [numerator, quotient] : cases) {
    EXPECT_EQ(DivideRoundHalfEven(numerator, Money::kScale), quotient) << numerator;
    EXPECT_EQ(DivideRoundHalfEven(WideInt{numerator}, WideInt{Money::kScale}), quotient)
        << numerator;
  }
}

}  // namespace
}  // namespace zr
