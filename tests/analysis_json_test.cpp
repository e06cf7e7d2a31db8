#include "analysis_json.h"

#include <gtest/gtest.h>

#include "test_inputs.h"

namespace zr {
namespace {

TEST(AnalysisJson, StartupAnalysisAsTexts) {
  const NumberFormat dot{"."};
  const auto j = AnalysisToJson(Analyse(test::InputsWith({}), dot), dot);
  EXPECT_EQ(j["break_even"]["Energiaar"]["value"], "13.8804");
  EXPECT_TRUE(j["break_even"]["Energiaar"]["why"].is_null());
  EXPECT_TRUE(j["break_even"]["Tamogatas"]["value"].is_null());
  EXPECT_EQ(j["break_even"]["Tamogatas"]["why"],
            "Az egyenleg a megengedett tartományban végig nemnegatív.");
  EXPECT_EQ(j["break_even"].size(), kFieldCount);
  // Inputs at zero have no sensitivity: 16 fields less Tamogatas and Maradvanyertek.
  EXPECT_EQ(j["sensitivity"].size(), 14u);
  EXPECT_FALSE(j["sensitivity"].contains("Tamogatas"));
  const auto& minus20 = j["sensitivity"]["Energiaar"][0];
  EXPECT_EQ(minus20["percent"], -20);
  EXPECT_EQ(minus20["value"], "16");
  EXPECT_EQ(minus20["L"], "21.35");
  EXPECT_EQ(minus20["Egyenleg"], "14073");
  EXPECT_EQ(minus20["out_of_range"], false);
  EXPECT_EQ(j["npv"], "519610");
  EXPECT_EQ(j["internal_rate"]["value"], "9.6749");
  EXPECT_EQ(j["simple_payback"], "11.47");
}

TEST(AnalysisJson, OutOfRangeCasesHaveNoFigures) {
  const NumberFormat hu = NumberFormat::Hungarian();
  const auto j = AnalysisToJson(Analyse(test::InputsWith({{Field::Tamogatas, "90"}}), hu), hu);
  const auto& plus20 = j["sensitivity"]["Tamogatas"][3];
  EXPECT_EQ(plus20["value"], "108");
  EXPECT_EQ(plus20["out_of_range"], true);
  EXPECT_TRUE(plus20["L"].is_null());
  EXPECT_TRUE(plus20["Egyenleg"].is_null());
}

}  // namespace
}  // namespace zr
