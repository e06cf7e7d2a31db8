#include "validation.h"

#include <gtest/gtest.h>

#include <string>

#include "test_inputs.h"

namespace zr {
namespace {

const NumberFormat kHu = NumberFormat::Hungarian();

struct Row {
  Field field;
  const char* lowest_valid;
  const char* below;
  const char* highest_valid;  // nullptr: no upper bound
  const char* above;
  const char* message;
  const char* replacement;
};

const Row kRows[] = {
    {Field::Elettartam, "1", "0,9999", "50", "50,5", "Az élettartam 1 és 50 év között lehet!",
     "20"},
    {Field::Beruhazas, "1", "0,5", nullptr, nullptr, "A beruházás értéke pozitív kell legyen!",
     "1000000"},
    {Field::Tamogatas, "0", "-0,0001", "100", "100,0001", "A támogatás 0 és 100 % között lehet!",
     "0"},
    {Field::Maradvanyertek, "0", "-1", "100", "101", "A maragványérték 0 és 100 % között lehet!",
     "0"},
    {Field::Kamatlab, "1", "0", "100", "100,5", "A kamatláb 1 és 100 % között lehet!", "6"},
    {Field::Akoll, "1", "0,99", nullptr, nullptr,
     "A napkollektor felület legalább 1 m2 kell legyen!", "6"},
    {Field::Qkoll, "1", "0", "1000", "1000,01",
     "A kollektorok fajlagos energiahozama 1 és 1000 kWh/m2.év között lehet!", "600"},
    {Field::Karbkolts, "0", "-0,5", "100", "150",
     "A karbantartási költség 0 és 100 % között lehet!", "0,5"},
    {Field::Karbkoltsvalt, "0", "-3", "100", "150",
     "A karbantartási költség éves változása 0 és 100 % között lehet!", "0,5"},
    {Field::Villanyar, "1", "0,5", nullptr, nullptr,
     "A villamos energia ára legalább 1 Ft/kWh kell legyen!", "45"},
    {Field::Uzemkolts, "0,1", "0,09", "20", "20,01",
     "Az éves üzemi költség a hasznos energia 0.1 és 20 %-a között lehet!", "2"},
    {Field::Uzemkoltsvalt, "0", "-1", "100", "101",
     "A üzemi költség éves változása 0 és 100 % között lehet!", "2"},
    {Field::Egyebkolts, "0", "-1", "100", "101", "Az egyéb üzemi költség 0 és 100 % között lehet!",
     "0,2"},
    {Field::Egyebkoltsvalt, "0", "-1", "100", "150",
     "Az egyéb üzemi költség 0 és 100 % között lehet!", "3"},
    {Field::Energiaar, "1", "0,5", nullptr, nullptr,
     "A kiváltott energiahordozó ára legalább 1 Ft/kWh kell legyen!", "19,27"},
    {Field::Energiaarvalt, "0", "-6", "100", "200",
     "A kiváltott energiahordozó árának éves változása 0 és 100 % között lehet!", "8"},
};

class RowBounds : public ::testing::TestWithParam<Row> {
 protected:
  // The finding for `text` in this row, with every other box at its start-up text.
  std::vector<ValidationFinding> FindingsFor(const char* text) {
    ValidationResult result =
        ValidateInputs(test::StartupTextsWith({{GetParam().field, text}}), kHu);
    corrected_ = result.corrected[Index(GetParam().field)];
    return result.findings;
  }
  std::string corrected_;
};

TEST_P(RowBounds, InclusiveBoundsPass) {
  EXPECT_TRUE(FindingsFor(GetParam().lowest_valid).empty());
  if (GetParam().highest_valid) {
    EXPECT_TRUE(FindingsFor(GetParam().highest_valid).empty());
  }
}

TEST_P(RowBounds, OutsideGivesTheRangeMessageAndTheReplacement) {
  const Row& row = GetParam();
  std::vector<const char*> outside{row.below};
  if (row.above) outside.push_back(row.above);
  for (const char* text : outside) {
    const auto findings = FindingsFor(text);
    ASSERT_EQ(findings.size(), 1u) << text;
    EXPECT_EQ(findings[0], (ValidationFinding{row.field, row.message, row.replacement})) << text;
    EXPECT_EQ(corrected_, row.replacement);
  }
}

TEST_P(RowBounds, NonNumbersGetTheNumberMessage) {
  for (const char* text : {"", "abc", "6 m2", "0.5", "1 000"}) {
    const auto findings = FindingsFor(text);
    ASSERT_EQ(findings.size(), 1u) << text;
    EXPECT_EQ(findings[0].message, kNumberMessage) << text;
    EXPECT_EQ(findings[0].replacement, GetParam().replacement);
  }
}

TEST_P(RowBounds, ReplacementPassesItsOwnRow) {
  EXPECT_EQ(CheckText(RuleFor(GetParam().field), GetParam().replacement, kHu), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(AllSixteen, RowBounds, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(FieldName(info.param.field)); });

TEST(Validation, StartupTextsPass) {
  const ValidationResult result = ValidateInputs(StartupTexts(kHu), kHu);
  EXPECT_TRUE(result.findings.empty());
  EXPECT_EQ(result.corrected, StartupTexts(kHu));
}

TEST(Validation, DecimalPointFormatReplacesWithPoint) {
  const NumberFormat dot{"."};
  EXPECT_TRUE(ValidateInputs(StartupTexts(dot), dot).findings.empty());
  InputTexts texts = StartupTexts(dot);
  texts[Index(Field::Energiaar)] = "0,5";  // a comma is not a number here
  const auto findings = ValidateInputs(texts, dot).findings;
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].message, kNumberMessage);
  EXPECT_EQ(findings[0].replacement, "19.27");
}

TEST(Validation, ReplacementTextIsTheRulesOwnInEitherFormat) {
  // The rows' texts are made once and kept; a rule of another value is
  // not one of them.
  ValidationRule rule = RuleFor(Field::Energiaar);
  EXPECT_EQ(ReplacementText(rule, NumberFormat{"."}), "19.27");
  EXPECT_EQ(ReplacementText(rule, kHu), "19,27");
  rule.replacement = 0.125;
  EXPECT_EQ(ReplacementText(rule, kHu), "0,125");
}

TEST(Validation, FindingsComeInTableOrderOnePerBox) {
  InputTexts texts = StartupTexts(kHu);
  texts[Index(Field::Energiaarvalt)] = "200";
  texts[Index(Field::Elettartam)] = "0";
  texts[Index(Field::Qkoll)] = "abc";
  const ValidationResult result = ValidateInputs(texts, kHu);
  ASSERT_EQ(result.findings.size(), 3u);
  EXPECT_EQ(result.findings[0].field, Field::Elettartam);
  EXPECT_EQ(result.findings[1].field, Field::Qkoll);
  EXPECT_EQ(result.findings[1].message, kNumberMessage);
  EXPECT_EQ(result.findings[2].field, Field::Energiaarvalt);
  EXPECT_EQ(result.corrected[Index(Field::Elettartam)], "20");
  EXPECT_EQ(result.corrected[Index(Field::Qkoll)], "600");
  EXPECT_EQ(result.corrected[Index(Field::Energiaarvalt)], "8");
}

TEST(Validation, SixteenWrongBoxesGiveSixteenFindings) {
  InputTexts texts;
  texts.fill("x");
  const ValidationResult result = ValidateInputs(texts, kHu);
  ASSERT_EQ(result.findings.size(), kFieldCount);
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    EXPECT_EQ(result.findings[i].field, kAllFields[i]);
    EXPECT_EQ(result.corrected[i], kRows[i].replacement);
  }
  EXPECT_TRUE(ValidateInputs(result.corrected, kHu).findings.empty());
}

TEST(Validation, NumbersTooLargeToCalculateWithAreFindings) {
  const std::string beyond_money = "1000000000000000";  // 1e15 > Money's 9.2e14
  const std::string beyond_double = std::string(400, '9');
  for (Field f : {Field::Beruhazas, Field::Akoll, Field::Villanyar, Field::Energiaar}) {
    for (const std::string& text : {beyond_money, beyond_double}) {
      EXPECT_EQ(CheckText(RuleFor(f), text, kHu), kTooLargeMessage) << FieldName(f);
    }
    EXPECT_EQ(CheckText(RuleFor(f), "922337203685477", kHu), std::nullopt);
  }
  // Where there is an upper bound the range message says it better.
  EXPECT_EQ(CheckText(RuleFor(Field::Qkoll), beyond_double, kHu),
            RuleFor(Field::Qkoll).range_message);
  EXPECT_EQ(CheckText(RuleFor(Field::Akoll), "-" + beyond_double, kHu),
            RuleFor(Field::Akoll).range_message);
}

TEST(Validation, ValueIsTestedAtFullPrecision) {
  // 50,00001 is over 50 although it reads as 50 in four decimals.
  EXPECT_EQ(CheckText(RuleFor(Field::Elettartam), "50,00001", kHu),
            RuleFor(Field::Elettartam).range_message);
  EXPECT_EQ(CheckText(RuleFor(Field::Uzemkolts), "0,1", kHu), std::nullopt);
  EXPECT_EQ(CheckText(RuleFor(Field::Uzemkolts), "0,09999999", kHu),
            RuleFor(Field::Uzemkolts).range_message);
}

}  // namespace
}  // namespace zr
