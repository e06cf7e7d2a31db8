#include "variants.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "test_inputs.h"
#include "variants_plot.h"

namespace zr {
namespace {

const NumberFormat kHu = NumberFormat::Hungarian();

using test::TextChanges;

// A variant: the start-up texts with some boxes changed.
Variant V(std::string name, TextChanges changes = {}) {
  return {std::move(name), test::StartupTextsWith(std::move(changes))};
}

const VariantRow& Row(const VariantsTable& table, std::string_view key) {
  for (const VariantRow& row : table.rows) {
    if (row.key == key) return row;
  }
  throw std::out_of_range(std::string(key));
}

std::vector<std::string> DifferingInputs(const VariantsTable& table) {
  std::vector<std::string> keys;
  for (const VariantRow& row : table.rows) {
    if (row.differs) keys.push_back(row.key);
  }
  return keys;
}

const TextChanges kNoPayback = {{Field::Energiaarvalt, "0"}};               // L "nincs"
const TextChanges kFault = {{Field::Akoll, "100000000000"}};                // ends on a fault
const TextChanges kHalfSubsidy = {{Field::Tamogatas, "50"}};                // better than start-up
const TextChanges kSameRateTypedOtherwise = {{Field::Kamatlab, " 6,000"}};  // start-up reads 6

struct MarkCase {
  const char* name;
  std::vector<Variant> variants;
  std::vector<bool> best_balance;
  std::vector<bool> shortest_payback;
  std::vector<std::string> differing;
};

class VariantMarks : public ::testing::TestWithParam<MarkCase> {};

TEST_P(VariantMarks, BestShortestAndDiffering) {
  const VariantsTable table = CompareVariants(GetParam().variants, kHu);
  EXPECT_EQ(table.best_balance, GetParam().best_balance);
  EXPECT_EQ(table.shortest_payback, GetParam().shortest_payback);
  EXPECT_EQ(DifferingInputs(table), GetParam().differing);
  // The marked rows carry the same marks.
  EXPECT_EQ(Row(table, "Egyenlegb").marked, GetParam().best_balance);
  EXPECT_EQ(Row(table, "L").marked, GetParam().shortest_payback);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, VariantMarks,
    ::testing::Values(MarkCase{"SubsidyWinsBoth",
                               {V("a"), V("b", kHalfSubsidy)},
                               {false, true},
                               {false, true},
                               {"Tamogatas"}},
                      MarkCase{"TieMarksEveryTiedVariant",
                               {V("a"), V("b", kHalfSubsidy), V("c", kHalfSubsidy)},
                               {false, true, true},
                               {false, true, true},
                               {"Tamogatas"}},
                      MarkCase{"SameFigureTypedOtherwiseIsNoDifferenceAndTies",
                               {V("a"), V("b", kSameRateTypedOtherwise)},
                               {true, true},
                               {true, true},
                               {}},
                      MarkCase{"NoPaybackIsNeverShortest",
                               {V("a", kNoPayback), V("b")},
                               {false, true},
                               {false, true},
                               {"Energiaarvalt"}},
                      MarkCase{"NonePaysBackNoneMarked",
                               {V("a", kNoPayback),
                                V("b", {{Field::Energiaarvalt, "0"}, {Field::Energiaar, "10"}})},
                               {true, false},
                               {false, false},
                               {"Energiaar"}},
                      MarkCase{"FaultTakesNoPart",
                               {V("a", kFault), V("b"), V("c", kHalfSubsidy)},
                               {false, false, true},
                               {false, false, true},
                               {"Tamogatas", "Akoll"}},
                      MarkCase{"OneComputedVariantIsNotCompared",
                               {V("a", kFault), V("b")},
                               {false, false},
                               {false, false},
                               {"Akoll"}},
                      // A replaced box compares by its replacement, which for "x" is the
                      // start-up investment.
                      MarkCase{"WrongBoxComparesByItsReplacement",
                               {V("a", {{Field::Beruhazas, "x"}}), V("b")},
                               {true, true},
                               {true, true},
                               {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Variants, RowsHoldInputsResultsAndFigures) {
  const std::vector<Variant> variants = {V("a"), V("b", kFault)};
  const VariantsTable table = CompareVariants(variants, kHu);
  ASSERT_EQ(table.rows.size(), kFieldCount + kResultLabelCount + 3);
  EXPECT_EQ(Row(table, "Kamatlab").cells, (std::vector<std::string>{"6", "6"}));
  EXPECT_EQ(Row(table, "L").cells, (std::vector<std::string>{"16,68", ""}));
  EXPECT_EQ(Row(table, "Valberuhazasb").cells, (std::vector<std::string>{"1000000", "1000000"}));
  EXPECT_EQ(Row(table, "npv").cells[1], "nem számítható");
  EXPECT_EQ(Row(table, "internal_rate").cells[1], "nem számítható");
  EXPECT_EQ(Row(table, "verdict").cells[0].rfind("A beruházás", 0), 0u);
  EXPECT_EQ(Row(table, "verdict").cells[1].rfind("Az eredmény nem számítható ki", 0), 0u);
  // The start-up scenario's NPV and rate are numbers in the regional format.
  EXPECT_NE(Row(table, "npv").cells[0].find_first_of("0123456789"), std::string::npos);
  EXPECT_EQ(Row(table, "internal_rate").cells[0].find('.'), std::string::npos);
}

TEST(Variants, TakesTwoToFour) {
  for (const std::size_t count : {0u, 1u, 5u}) {
    const std::vector<Variant> variants(count, V("a"));
    EXPECT_THROW(CompareVariants(variants, kHu), std::invalid_argument) << count;
  }
  const std::vector<Variant> four(4, V("a"));
  EXPECT_EQ(CompareVariants(four, kHu).names.size(), 4u);
}

TEST(Variants, NamesAreUniqueAndNeverEmpty) {
  const std::vector<Variant> variants = {V(" Ajánlat "), V(""), V("Ajánlat"), V("Ajánlat")};
  EXPECT_EQ(VariantNames(variants),
            (std::vector<std::string>{"Ajánlat", "2. változat", "Ajánlat (2)", "Ajánlat (3)"}));
}

TEST(Variants, ChartSharesTheLongestPeriod) {
  // Two identical economies over 10 and 25 years: the common axis is 25
  // years, so both draw the same curves, the same as a single 25-year chart.
  const std::vector<Variant> variants = {V("rövid", {{Field::Elettartam, "10"}}), V("hosszú")};
  const VariantsTable table = CompareVariants(variants, kHu);
  std::vector<std::vector<Line>> curves(2);
  int dashes = -1;
  for (const ChartOperation& op : table.chart) {
    if (std::holds_alternative<LineDash>(op)) ++dashes;
    const Line* line = std::get_if<Line>(&op);
    if (line && line->color != kBlack && dashes >= 0 && dashes < 2) curves[dashes].push_back(*line);
  }
  ASSERT_EQ(curves[0].size(), 198u);
  EXPECT_EQ(curves[0], curves[1]);
  const RunOutcome single = CalculationRun(test::StartupTextsWith({}), kHu);
  std::vector<Line> single_lines;
  for (const ChartOperation& op : single.chart) {
    const Line* line = std::get_if<Line>(&op);
    if (line && line->color != kBlack) single_lines.push_back(*line);
  }
  auto sorted = [](std::vector<Line> lines) {
    std::sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
      return std::tie(a.x1, a.y1, a.x2, a.y2, a.color.red) <
             std::tie(b.x1, b.y1, b.x2, b.y2, b.color.red);
    });
    return lines;
  };
  EXPECT_EQ(sorted(curves[0]), sorted(single_lines));
}

}  // namespace
}  // namespace zr
