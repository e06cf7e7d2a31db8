#include "analysis_json.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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

  // The view comes after the figures, which stay as they were.
  std::vector<std::string> keys;
  for (const auto& [key, value] : j.items()) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{"break_even", "sensitivity", "npv", "internal_rate",
                                            "simple_payback", "view"}));
  const auto& view = j["view"];
  EXPECT_EQ(view["figures"]["npv"], "519610");
  EXPECT_EQ(view["figures"]["internal_rate"], "9.6749");
  EXPECT_EQ(view["figures"]["simple_payback"], "11.47");
  const auto& tornado = view["tornado"];
  EXPECT_EQ(tornado["base"]["text"], "16.68");
  EXPECT_TRUE(tornado["band"].is_null());
  EXPECT_EQ(tornado["ticks"].front()["text"], "12");
  EXPECT_EQ(tornado["ticks"].back()["at"], 1.0);
  const auto& top = tornado["bars"][0];
  EXPECT_EQ(top["field"], "Energiaar");
  EXPECT_EQ(top["anchor"], tornado["base"]["at"]);
  EXPECT_EQ(top["minus"]["kind"], "years");
  EXPECT_EQ(top["minus"]["percent_text"], "−20 %");
  EXPECT_EQ(top["minus"]["text"], "21.35");
  EXPECT_DOUBLE_EQ(top["minus"]["at"].get<double>(), (21.35 - 12) / 10);
}

TEST(AnalysisJson, OutOfRangeCasesHaveNoFigures) {
  const NumberFormat hu = NumberFormat::Hungarian();
  const auto j = AnalysisToJson(Analyse(test::InputsWith({{Field::Tamogatas, "90"}}), hu), hu);
  const auto& plus20 = j["sensitivity"]["Tamogatas"][3];
  EXPECT_EQ(plus20["value"], "108");
  EXPECT_EQ(plus20["out_of_range"], true);
  EXPECT_TRUE(plus20["L"].is_null());
  EXPECT_TRUE(plus20["Egyenleg"].is_null());
  // The tornado ends its bar at +10 %; nothing is out of range both ways.
  for (const auto& bar : j["view"]["tornado"]["bars"]) {
    if (bar["field"] != "Tamogatas") continue;
    EXPECT_EQ(bar["plus"]["percent"], 10);
    EXPECT_EQ(bar["plus"]["kind"], "years");
  }
  const auto low = AnalysisToJson(Analyse(test::InputsWith({{Field::Energiaar, "1"}}), hu), hu);
  const auto& bars = low["view"]["tornado"]["bars"];
  const auto energy = *std::find_if(bars.begin(), bars.end(),
                                    [](const auto& bar) { return bar["field"] == "Energiaar"; });
  EXPECT_EQ(energy["minus"]["kind"], "out_of_range");
  EXPECT_EQ(energy["minus"]["text"], "tartományon kívül");
  EXPECT_TRUE(energy["minus"]["at"].is_null());
  EXPECT_EQ(energy["plus"]["at"], "band");
  EXPECT_EQ(low["view"]["tornado"]["band"], "nincs");
}

}  // namespace
}  // namespace zr
