#include "outcome_json.h"

#include <gtest/gtest.h>

namespace zr {
namespace {

using nlohmann::ordered_json;

const NumberFormat kHu = NumberFormat::Hungarian();

TEST(EvaluateLine, MissingFieldsTakeTheirStartupTexts) {
  const LineResult r = EvaluateLine(R"({"Tamogatas":"50"})", kHu);
  ASSERT_FALSE(r.error);
  const ordered_json& out = r.output;
  std::vector<std::string> keys;
  for (const auto& item : out.items()) keys.push_back(item.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"findings", "texts", "labels", "fault", "chart"}));
  EXPECT_EQ(out["texts"]["Tamogatas"], "50");
  EXPECT_EQ(out["texts"]["Karbkolts"], "0,5");
  EXPECT_EQ(out["labels"]["Valberuhazasb"], "500000");
  EXPECT_EQ(out["labels"]["L"], "8,07");
  EXPECT_TRUE(out["fault"].is_null());
  EXPECT_EQ(out["chart"][0], ordered_json::parse(R"({"op":"Cls"})"));
  EXPECT_EQ(out["chart"][1], ordered_json::parse(R"({"op":"DrawWidth","width":2})"));
}

TEST(EvaluateLine, FindingsAndFaultAreReported) {
  const LineResult wrong = EvaluateLine(R"({"Elettartam":"","Akoll":"100000000000"})", kHu);
  ASSERT_FALSE(wrong.error);
  const ordered_json& out = wrong.output;
  ASSERT_EQ(out["findings"].size(), 1u);
  EXPECT_EQ(out["findings"][0],
            ordered_json::parse(
                R"({"field":"Elettartam","message":"Adjon meg számot!","replacement":"20"})"));
  EXPECT_EQ(out["texts"]["Elettartam"], "20");
  EXPECT_EQ(out["fault"], "A számítás eredménye túl nagy! Adjon meg kisebb értékeket!");
  EXPECT_EQ(out["labels"]["Valberuhazasb"], "1000000");
  EXPECT_TRUE(out["labels"]["Hozamb"].is_null());
  EXPECT_TRUE(out["labels"]["L"].is_null());
}

TEST(EvaluateLine, BadLinesAreErrors) {
  for (const char* line : {"", "[1,2]", "not json", R"({"Elettartam":25})", R"({"Nincs":"1"})",
                           R"({"Elettartam":"25")"}) {
    const LineResult r = EvaluateLine(line, kHu);
    EXPECT_TRUE(r.error) << line;
    EXPECT_TRUE(r.output.contains("error")) << line;
    EXPECT_EQ(r.output.size(), 1u) << line;
  }
}

struct LineCounts {
  int cost = 0, savings = 0, black = 0;
};

LineCounts CountLines(const ordered_json& chart) {
  LineCounts n;
  for (const auto& op : chart) {
    if (op["op"] != "Line") continue;
    const auto& c = op["color"];
    if (c == ordered_json::array({0, 0, 250}))
      ++n.cost;
    else if (c == ordered_json::array({250, 100, 30}))
      ++n.savings;
    else
      ++n.black;
  }
  return n;
}

// The chart's limits, reached through real inputs. Four black lines are
// the time marks of 25 years, two the axes; the rest are value marks.
TEST(EvaluateLine, ChartLimitsNeitherCrashNorHang) {
  // One-year cost rounds to 0: no curves, no value marks.
  const ordered_json zero =
      EvaluateLine(
          R"({"Tamogatas":"100","Akoll":"1","Qkoll":"1","Villanyar":"1","Uzemkolts":"0,1"})", kHu)
          .output;
  const LineCounts z = CountLines(zero["chart"]);
  EXPECT_EQ(z.cost + z.savings, 0);
  EXPECT_EQ(z.black, 6);
  EXPECT_EQ(zero["chart"].back()["text"], "(ezer Ft)");

  // A scale of a few Ft: no value marks, and savings hundreds of times the
  // scale are clamped far above the area instead of ending the run.
  const ordered_json tiny =
      EvaluateLine(
          R"({"Tamogatas":"100","Akoll":"1","Qkoll":"1","Villanyar":"2000","Uzemkolts":"0,1","Energiaar":"1000"})",
          kHu)
          .output;
  const LineCounts t = CountLines(tiny["chart"]);
  EXPECT_TRUE(tiny["fault"].is_null());
  EXPECT_EQ(t.cost, 99);
  EXPECT_EQ(t.savings, 99);
  EXPECT_EQ(t.black, 6);
  EXPECT_EQ(tiny["chart"][2]["y1"], -32768);

  // A scale within one step of the 32-bit limit: the marks stop at 2140 million.
  const ordered_json big =
      EvaluateLine(
          R"({"Beruhazas":"2025000000","Karbkolts":"0","Egyebkolts":"0","Uzemkolts":"0,1"})", kHu)
          .output;
  EXPECT_EQ(CountLines(big["chart"]).black, 6 + 214);
  const auto& chart = big["chart"];
  EXPECT_EQ(chart[chart.size() - 6]["real"], 2140);
  EXPECT_EQ(chart.back()["text"], "(millió Ft)");
}

TEST(ChartOperationJson, EncodesEveryKind) {
  EXPECT_EQ(ChartOperationToJson(Line{558, 3131, 616, 3128, kSavingsColor}).dump(),
            R"({"op":"Line","x1":558,"y1":3131,"x2":616,"y2":3128,"color":[250,100,30]})");
  EXPECT_EQ(ChartOperationToJson(CurrentY{2742.78f}).dump(), R"({"op":"CurrentY","y":2742.78})");
  EXPECT_EQ(ChartOperationToJson(ForeColor{kCostColor}).dump(),
            R"({"op":"ForeColor","color":[0,0,250]})");
  EXPECT_EQ(ChartOperationToJson(FontName{""}).dump(), R"({"op":"FontName","name":""})");
  EXPECT_EQ(ChartOperationToJson(Print{std::int16_t{5}}).dump(), R"({"op":"Print","int":5})");
  EXPECT_EQ(ChartOperationToJson(Print{200.0}).dump(), R"({"op":"Print","real":200})");
  EXPECT_EQ(ChartOperationToJson(Print{0.5}).dump(), R"({"op":"Print","real":0.5})");
  EXPECT_EQ(ChartOperationToJson(Print{std::string("Idő (év)")}).dump(),
            R"j({"op":"Print","text":"Idő (év)"})j");
}

}  // namespace
}  // namespace zr
