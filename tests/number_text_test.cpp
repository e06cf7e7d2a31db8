#include "number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "arithmetic_fault.h"
#include "test_inputs.h"

namespace zr {
namespace {

const NumberFormat kHu = NumberFormat::Hungarian();
const NumberFormat kDot{"."};

class AcceptedText : public ::testing::TestWithParam<std::pair<const char*, double>> {};

TEST_P(AcceptedText, IsANumberForAllThreeReadings) {
  const auto [text, value] = GetParam();
  EXPECT_TRUE(IsNumberText(text, kHu));
  const auto parsed = NumberText::Parse(text, kHu);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->ToDouble(), value);
  EXPECT_EQ(Dbl(TextToMoney(text, kHu)), value);
}

INSTANTIATE_TEST_SUITE_P(Hungarian, AcceptedText,
                         ::testing::Values(std::pair{"6", 6.0}, std::pair{"-3", -3.0},
                                           std::pair{" 25 ", 25.0}, std::pair{"\t7\t", 7.0},
                                           std::pair{"0,5", 0.5}, std::pair{",5", 0.5},
                                           std::pair{"5,", 5.0}, std::pair{"+12", 12.0},
                                           std::pair{"007,250", 7.25}, std::pair{"-0", 0.0}),
                         [](const auto& info) { return test::TextTestName(info.param.first); });

class RefusedText : public ::testing::TestWithParam<const char*> {};

TEST_P(RefusedText, IsNotANumber) {
  EXPECT_FALSE(IsNumberText(GetParam(), kHu));
  EXPECT_THROW(TextToMoney(GetParam(), kHu), ArithmeticFault);
}

INSTANTIATE_TEST_SUITE_P(Hungarian, RefusedText,
                         ::testing::Values("", " ", ",", "-", "+-1", "0.5", "1 000", "1,000,5",
                                           "1e3", "6 m2", "abc", "--1", "1-", "0x10", "1,5,", "١٢"),
                         [](const auto& info) { return test::TextTestName(info.param); });

TEST(NumberText, FollowsTheFormatsSeparatorOnly) {
  EXPECT_TRUE(IsNumberText("0.5", kDot));
  EXPECT_FALSE(IsNumberText("0,5", kDot));
  const NumberFormat arabic{"\xD9\xAB"};  // U+066B, a two-byte separator
  EXPECT_EQ(TextToMoney("19\xD9\xAB"
                        "27",
                        arabic)
                .Raw(),
            192700);
  EXPECT_FALSE(IsNumberText("19\xD9", arabic));
}

TEST(NumberTextToDouble, IsCorrectlyRounded) {
  EXPECT_EQ(NumberText::Parse("0,1", kHu)->ToDouble(), 0.1);
  EXPECT_EQ(NumberText::Parse("19,27", kHu)->ToDouble(), 19.27);
  EXPECT_EQ(NumberText::Parse("9007199254740993", kHu)->ToDouble(), 9007199254740992.0);
}

TEST(NumberTextToDouble, BeyondTheRangeIsInfinityAndTinyIsZero) {
  const std::string huge(400, '9');
  EXPECT_EQ(NumberText::Parse(huge, kHu)->ToDouble(), INFINITY);
  EXPECT_EQ(NumberText::Parse("-" + huge, kHu)->ToDouble(), -INFINITY);
  EXPECT_EQ(NumberText::Parse("0," + std::string(400, '0') + "1", kHu)->ToDouble(), 0.0);
}

// Texts either side of where reading takes its short way (18 significant
// digits, 2^53 for an exact double): the double must be strtod's, the
// Money exact.
TEST(NumberText, ShortAndLongReadingsAgree) {
  const std::pair<const char*, std::optional<std::int64_t>> cases[] = {
      {"9007199254740992", std::nullopt},              // 2^53, beyond Money
      {"900719925474,0993", 9007199254740993},         // 2^53 + 1 as digits
      {"0,000000000000000001", 0},                     // 18 decimals
      {"0,123456789012345678", 1235},                  // 18 digits above 2^53
      {"0,1234567890123456785", 1235},                 // 19: the long way
      {"-922337203685477,580", -9223372036854775800},  // 18 digits, near the end of Money
      {"922337203685477,581", std::nullopt},           // just beyond it
      {"-922337203685477,581", std::nullopt},
      {"9223372036854775,81", std::nullopt},         // beyond 64 bits when scaled
      {"12345678901234,56785", 123456789012345678},  // 19 digits, a tie to even
      {"1234567890123,45675", 12345678901234568},    // 18 digits, a tie to even
  };
  for (const auto& [text, raw] : cases) {
    SCOPED_TRACE(text);
    const std::optional<NumberText> number = NumberText::Parse(text, kHu);
    ASSERT_TRUE(number);
    std::string c_text = text;
    std::replace(c_text.begin(), c_text.end(), ',', '.');
    EXPECT_EQ(number->ToDouble(), std::strtod(c_text.c_str(), nullptr));
    const std::optional<Money> money = number->ToMoney();
    ASSERT_EQ(money.has_value(), raw.has_value());
    if (raw) {
      EXPECT_EQ(money->Raw(), *raw);
    }
  }
}

TEST(NumberTextToMoney, KeepsFourDecimalsRoundingHalfToEven) {
  EXPECT_EQ(TextToMoney("1,00005", kHu).Raw(), 10000);
  EXPECT_EQ(TextToMoney("1,00015", kHu).Raw(), 10002);
  EXPECT_EQ(TextToMoney("1,000050000001", kHu).Raw(), 10001);
  EXPECT_EQ(TextToMoney("-1,00015", kHu).Raw(), -10002);
  EXPECT_EQ(TextToMoney("2,99996", kHu).Raw(), 30000);
  // Trailing zeros do not make a tie "more than half": six decimals whose
  // fifth is 5 still round to even, down as often as up.
  EXPECT_EQ(TextToMoney("1,000050", kHu).Raw(), 10000);
  EXPECT_EQ(TextToMoney("1,000150", kHu).Raw(), 10002);
  EXPECT_EQ(TextToMoney("2,000250", kHu).Raw(), 20002);
  EXPECT_EQ(TextToMoney("-2,000250", kHu).Raw(), -20002);
  EXPECT_EQ(TextToMoney("1,000051", kHu).Raw(), 10001);
  EXPECT_EQ(TextToMoney("1,000049", kHu).Raw(), 10000);
  // Exact, unlike a detour through double.
  // Either side of where the reading leaves 64 bits for 128 (13 whole digits).
  EXPECT_EQ(TextToMoney("9999999999999,99995", kHu).Raw(), 100000000000000000LL);
  EXPECT_EQ(TextToMoney("-9999999999999,99985000001", kHu).Raw(), -99999999999999999LL);
  EXPECT_EQ(TextToMoney("10000000000000,00005", kHu).Raw(), 100000000000000000LL);
  EXPECT_EQ(TextToMoney("99999999999999,99995", kHu).Raw(), 1000000000000000000LL);
  EXPECT_EQ(TextToMoney("922337203685477,5807", kHu).Raw(), 9223372036854775807LL);
  EXPECT_EQ(TextToMoney("-922337203685477,5808", kHu).Raw(), -9223372036854775807LL - 1);
}

TEST(NumberTextToMoney, BeyondTheRangeDoesNotFit) {
  EXPECT_FALSE(NumberText::Parse("922337203685477,5808", kHu)->ToMoney());
  EXPECT_FALSE(NumberText::Parse("922337203685477,58075", kHu)->ToMoney());  // tie rounds up
  EXPECT_FALSE(NumberText::Parse(std::string(1000, '9'), kHu)->ToMoney());
  EXPECT_TRUE(NumberText::Parse(std::string(1000, '0') + "1", kHu)->ToMoney());
  EXPECT_THROW(TextToMoney("1000000000000000", kHu), ArithmeticFault);
}

TEST(OutputForms, WholeNumberMoneyAndRealTexts) {
  EXPECT_EQ(WholeNumberText(600), "600");
  EXPECT_EQ(WholeNumberText(-250), "-250");
  EXPECT_EQ(MoneyText(MoneyOf(1000000), kHu), "1000000");
  EXPECT_EQ(MoneyText(Money::FromRaw(4995000), kHu), "499,5");
  EXPECT_EQ(MoneyText(Money::FromRaw(74300), kHu), "7,43");
  EXPECT_EQ(MoneyText(Money::FromRaw(166800), kDot), "16.68");
  EXPECT_EQ(MoneyText(Money::FromRaw(-5), kHu), "-0,0005");
  EXPECT_EQ(MoneyText(MoneyOf(0), kHu), "0");
  EXPECT_EQ(MoneyText(Money::FromRaw(-9223372036854775807LL - 1), kHu), "-922337203685477,5808");
  EXPECT_EQ(RealText(0.5, kHu), "0,5");
  EXPECT_EQ(RealText(0.2, kHu), "0,2");
  EXPECT_EQ(RealText(19.27, kHu), "19,27");
  EXPECT_EQ(RealText(19.27, kDot), "19.27");
  EXPECT_EQ(RealText(200, kHu), "200");
  EXPECT_EQ(RealText(1.0 / 3, kHu), "0,333333333333333");
}

TEST(NumberText, AMegabyteOfInputIsHandled) {
  const std::string digits(1 << 20, '7');
  EXPECT_TRUE(IsNumberText(digits, kHu));
  EXPECT_EQ(NumberText::Parse(digits, kHu)->ToDouble(), INFINITY);
  EXPECT_FALSE(NumberText::Parse(digits, kHu)->ToMoney());
  EXPECT_FALSE(IsNumberText(std::string(1 << 20, 'x'), kHu));
  EXPECT_FALSE(IsNumberText(std::string(1 << 20, ' '), kHu));
}

}  // namespace
}  // namespace zr
