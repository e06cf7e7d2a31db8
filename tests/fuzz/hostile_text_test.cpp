// Megabyte-long box texts: each is a finding or a number, as the rules say,
// and the rest of the run goes on as if the box held that number or its
// replacement. (How long they take is measured in bench/, not here.)

#include <gtest/gtest.h>

#include <string>

#include "calculation_run.h"
#include "test_inputs.h"

namespace zr {
namespace {

const NumberFormat kHu = NumberFormat::Hungarian();
const std::size_t kMegabyte = 1 << 20;

InputTexts StartupWith(Field field, std::string text) {
  return test::StartupTextsWith({{field, std::move(text)}});
}

// The run on `texts` has exactly one finding, in `field`, with `message`,
// and computes what the run with the replacement typed in computes.
void ExpectOneFinding(const InputTexts& texts, Field field, std::string_view message) {
  const RunOutcome out = CalculationRun(texts, kHu);
  ASSERT_EQ(out.findings.size(), 1u);
  EXPECT_EQ(out.findings[0].field, field);
  EXPECT_EQ(out.findings[0].message, message);
  const std::string replacement = ReplacementText(RuleFor(field), kHu);
  EXPECT_EQ(out.corrected[Index(field)], replacement);

  InputTexts typed = texts;
  typed[Index(field)] = replacement;
  const RunOutcome reference = CalculationRun(typed, kHu);
  EXPECT_TRUE(reference.findings.empty());
  EXPECT_EQ(out.labels, reference.labels);
  EXPECT_EQ(out.fault, reference.fault);
  EXPECT_EQ(out.chart, reference.chart);
}

// The run on `texts` has no finding and computes what the start-up run does
// with `field` holding `short_text`.
void ExpectSameAs(const InputTexts& texts, Field field, const std::string& short_text) {
  const RunOutcome out = CalculationRun(texts, kHu);
  EXPECT_TRUE(out.findings.empty());
  EXPECT_EQ(out.corrected[Index(field)], texts[Index(field)]);
  const RunOutcome reference = CalculationRun(StartupWith(field, short_text), kHu);
  EXPECT_TRUE(reference.findings.empty());
  EXPECT_EQ(out.labels, reference.labels);
  EXPECT_EQ(out.chart, reference.chart);
}

TEST(HostileText, MegabyteOfDigitsIsTooLargeOrOutOfRange) {
  const std::string digits(kMegabyte, '9');
  // No upper bound: a number, but not one the calculation can hold.
  ExpectOneFinding(StartupWith(Field::Beruhazas, digits), Field::Beruhazas, kTooLargeMessage);
  ExpectOneFinding(StartupWith(Field::Akoll, digits), Field::Akoll, kTooLargeMessage);
  // An upper bound: the row's range message.
  ExpectOneFinding(StartupWith(Field::Elettartam, digits), Field::Elettartam,
                   RuleFor(Field::Elettartam).range_message);
  ExpectOneFinding(StartupWith(Field::Energiaarvalt, "-" + digits), Field::Energiaarvalt,
                   RuleFor(Field::Energiaarvalt).range_message);
  // One letter at the very end makes it no number at all.
  ExpectOneFinding(StartupWith(Field::Beruhazas, digits + "x"), Field::Beruhazas, kNumberMessage);
}

TEST(HostileText, MegabyteOfDigitsThatIsASmallNumberIsThatNumber) {
  // Leading zeros, trailing decimal zeros, blanks around: still 6.
  ExpectSameAs(StartupWith(Field::Kamatlab, std::string(kMegabyte, '0') + "6"), Field::Kamatlab,
               "6");
  ExpectSameAs(StartupWith(Field::Kamatlab, "6," + std::string(kMegabyte, '0')), Field::Kamatlab,
               "6");
  const std::string half(kMegabyte / 2, ' ');
  ExpectSameAs(StartupWith(Field::Kamatlab, half + "6" + half), Field::Kamatlab, "6");
  // A megabyte of decimals is rounded to four for the calculation.
  ExpectSameAs(StartupWith(Field::Karbkolts, "0," + std::string(kMegabyte, '9')), Field::Karbkolts,
               "1");
}

TEST(HostileText, MegabyteOfLettersOrBlanksIsNoNumber) {
  ExpectOneFinding(StartupWith(Field::Beruhazas, std::string(kMegabyte, 'a')), Field::Beruhazas,
                   kNumberMessage);
  ExpectOneFinding(StartupWith(Field::Qkoll, std::string(kMegabyte, ' ')), Field::Qkoll,
                   kNumberMessage);
  ExpectOneFinding(StartupWith(Field::Energiaar, std::string(kMegabyte, '\t')), Field::Energiaar,
                   kNumberMessage);
  // Many separators: only one is allowed.
  ExpectOneFinding(StartupWith(Field::Villanyar, "1" + std::string(kMegabyte, ',')),
                   Field::Villanyar, kNumberMessage);
}

TEST(HostileText, EveryBoxAMegabyteComputesFromTheReplacements) {
  for (const char fill : {'9', 'a', ' '}) {
    SCOPED_TRACE(std::string("fill '") + fill + "'");
    InputTexts texts;
    texts.fill(std::string(kMegabyte, fill));
    const RunOutcome out = CalculationRun(texts, kHu);
    ASSERT_EQ(out.findings.size(), kFieldCount);
    InputTexts replacements;
    for (const ValidationRule& rule : ValidationRules()) {
      replacements[Index(rule.field)] = ReplacementText(rule, kHu);
      EXPECT_EQ(out.findings[Index(rule.field)].field, rule.field);
    }
    EXPECT_EQ(out.corrected, replacements);
    const RunOutcome reference = CalculationRun(replacements, kHu);
    EXPECT_EQ(out.labels, reference.labels);
    EXPECT_EQ(out.chart, reference.chart);
  }
}

}  // namespace
}  // namespace zr
