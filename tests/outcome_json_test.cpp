#include "outcome_json.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <variant>

#include "eval/failing_allocation.h"
#include "scenario_file.h"

namespace zr {
namespace {

using nlohmann::ordered_json;

const NumberFormat kHu = NumberFormat::Hungarian();

// The output line as a reader of it sees it.
ordered_json Output(const LineResult& r) { return ordered_json::parse(LineText(r)); }

TEST(EvaluateLine, MissingFieldsTakeTheirStartupTexts) {
  const LineResult r = EvaluateLine(R"({"Tamogatas":"50"})", kHu);
  ASSERT_FALSE(r.error);
  const ordered_json out = Output(r);
  std::vector<std::string> keys;
  for (const auto& item : out.items()) keys.push_back(item.key());
  EXPECT_EQ(keys,
            (std::vector<std::string>{"findings", "texts", "labels", "fault", "chart", "verdict"}));
  EXPECT_EQ(out["texts"]["Tamogatas"], "50");
  EXPECT_EQ(out["texts"]["Karbkolts"], "0,5");
  EXPECT_EQ(out["labels"]["Valberuhazasb"], "500000");
  EXPECT_EQ(out["labels"]["L"], "8,07");
  EXPECT_TRUE(out["fault"].is_null());
  EXPECT_EQ(out["chart"][0], ordered_json::parse(R"({"op":"Cls"})"));
  EXPECT_EQ(out["chart"][1], ordered_json::parse(R"({"op":"DrawWidth","width":2})"));
  EXPECT_EQ(out["verdict"],
            "A beruházás a vizsgált 25 éves időszakon belül, 8,07 év alatt megtérül, és "
            "évente átlagosan 79731 Ft nyereséget hoz.");
}

// The chart, written apart from the rest, still comes right after the
// fault, before what the options add.
TEST(EvaluateLine, TheChartComesAfterTheFaultWhateverFollows) {
  LineOptions options;
  options.analysis = true;
  options.overrides = {{Field::Tamogatas, "50"}};
  const LineResult r = EvaluateLine("{}", kHu, options);
  const ordered_json out = Output(r);
  std::vector<std::string> keys;
  for (const auto& item : out.items()) keys.push_back(item.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"findings", "texts", "labels", "fault", "chart",
                                            "sweep", "analysis", "verdict"}));
  EXPECT_EQ(out["chart"].size(),
            Output(EvaluateLine(R"({"Tamogatas":"50"})", kHu))["chart"].size());
}

TEST(EvaluateLine, FindingsAndFaultAreReported) {
  const LineResult wrong = EvaluateLine(R"({"Elettartam":"","Akoll":"100000000000"})", kHu);
  ASSERT_FALSE(wrong.error);
  const ordered_json out = Output(wrong);
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

// A line that is not an object of distinct input fields with string values
// gets an error line that says what is wrong, found as soon as the reader
// gets to it (so a line never costs more than one pass over its bytes).
struct BadLineCase {
  const char* name;
  std::string line;
  std::string error;
};

void PrintTo(const BadLineCase& c, std::ostream* os) { *os << c.name; }

class BadLine : public ::testing::TestWithParam<BadLineCase> {};

TEST_P(BadLine, GetsItsErrorLine) {
  const LineResult r = EvaluateLine(GetParam().line, kHu);
  EXPECT_TRUE(r.error);
  EXPECT_EQ(r.output, ordered_json({{"error", GetParam().error}}));
}

std::string Repeat(std::string_view text, std::size_t times) {
  std::string out;
  for (std::size_t i = 0; i < times; ++i) out += text;
  return out;
}

const std::string kDeep(100'000, '[');
const std::string kNotAString = "the value of Beruhazas is not a string";
const std::string kDuplicate = "duplicate field: Beruhazas";
const std::string kNotAnObject = "the line is not a JSON object";

INSTANTIATE_TEST_SUITE_P(
    EvaluateLine, BadLine,
    ::testing::Values(
        BadLineCase{"Empty", "", "the line is empty"},
        BadLineCase{"Blank", " \t\r", "the line is empty"},
        BadLineCase{"NotJson", "not json", "the line is not valid JSON (error at byte 2)"},
        BadLineCase{"TextAfterTheObject", "{} x", "the line is not valid JSON (error at byte 4)"},
        BadLineCase{"BrokenUtf8", "{\"Beruhazas\":\"1\xff\"}",
                    "the line is not valid JSON (error at byte 16)"},
        BadLineCase{"Array", "[1,2]", kNotAnObject}, BadLineCase{"String", "\"{}\"", kNotAnObject},
        BadLineCase{"DeepArrays", kDeep, kNotAnObject},
        BadLineCase{"UnknownField", R"({"Nincs":"1"})", "unknown field: Nincs"},
        BadLineCase{"UnknownFieldBeforeBrokenJson", R"({"Nincs":"1",)", "unknown field: Nincs"},
        BadLineCase{"UnknownFieldOfTheLongestShownLength",
                    "{\"" + std::string(64, 'x') + "\":\"1\"}",
                    "unknown field: " + std::string(64, 'x')},
        BadLineCase{"LongUnknownFieldIsShortened", "{\"" + std::string(100, 'x') + "\":\"1\"}",
                    "unknown field: " + std::string(64, 'x') + "..."},
        BadLineCase{"LongUnknownFieldIsCutAtACharacter", "{\"x" + Repeat("é", 50) + "\":\"1\"}",
                    "unknown field: x" + Repeat("é", 31) + "..."},
        BadLineCase{"Number", R"({"Beruhazas":1})", kNotAString},
        BadLineCase{"Null", R"({"Beruhazas":null})", kNotAString},
        BadLineCase{"Object", R"({"Beruhazas":{"a":"1"}})", kNotAString},
        BadLineCase{"DeepArrayValue", "{\"Beruhazas\":" + kDeep, kNotAString},
        BadLineCase{"DuplicateStrings", R"({"Beruhazas":"1","Tamogatas":"2","Beruhazas":"1"})",
                    kDuplicate},
        BadLineCase{"DuplicateStringThenNumber", R"({"Beruhazas":"1","Beruhazas":2})", kDuplicate},
        BadLineCase{"DuplicateNumberThenString", R"({"Beruhazas":1,"Beruhazas":"2"})", kNotAString},
        BadLineCase{"NulAfterTheObject", std::string("{}\0{", 4), "the line contains a NUL byte"},
        BadLineCase{"NulInAValue", std::string(R"({"Beruhazas":"1)") + '\0' + "\"}",
                    "the line contains a NUL byte"}),
    [](const auto& info) { return std::string(info.param.name); });

// A line of the longest length is evaluated, one byte more is not.
TEST(EvaluateLine, LineLengthLimit) {
  const std::string head = R"({"Kamatlab":")", tail = R"(6"})";
  std::string line = head + std::string(kMaxLineBytes - head.size() - tail.size(), '0') + tail;
  ASSERT_EQ(line.size(), kMaxLineBytes);
  const LineResult longest = EvaluateLine(line, kHu);
  ASSERT_FALSE(longest.error) << longest.output.dump().substr(0, 200);
  EXPECT_EQ(longest.output["labels"], EvaluateLine(R"({"Kamatlab":"6"})", kHu).output["labels"]);

  line.insert(head.size(), "0");
  const LineResult too_long = EvaluateLine(line, kHu);
  EXPECT_TRUE(too_long.error);
  EXPECT_EQ(too_long.output, ordered_json({{"error", "the line is longer than 16777216 bytes"}}));
}

// Memory runs short for a long box text: the line gets an error line, the
// call returns normally, and the next line is evaluated as usual.
TEST(EvaluateLine, RunningOutOfMemoryGivesAnErrorLine) {
  const std::string line = R"({"Beruhazas":")" + std::string(1 << 20, '9') + R"("})";
  LineResult r;
  {
    testing::AllocationWatch watch(/*fail_from=*/256 * 1024);
    EXPECT_NO_THROW(r = EvaluateLine(line, kHu));
    EXPECT_TRUE(watch.Failed());
  }
  EXPECT_TRUE(r.error);
  EXPECT_EQ(r.output, ordered_json({{"error", "not enough memory to evaluate the line"}}));
  EXPECT_FALSE(EvaluateLine(line, kHu).error);
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
  const ordered_json zero = Output(EvaluateLine(
      R"({"Tamogatas":"100","Akoll":"1","Qkoll":"1","Villanyar":"1","Uzemkolts":"0,1"})", kHu));
  const LineCounts z = CountLines(zero["chart"]);
  EXPECT_EQ(z.cost + z.savings, 0);
  EXPECT_EQ(z.black, 6);
  EXPECT_EQ(zero["chart"].back()["text"], "(ezer Ft)");

  // A scale of a few Ft: no value marks, and savings hundreds of times the
  // scale are clamped far above the area instead of ending the run.
  const ordered_json tiny = Output(EvaluateLine(
      R"({"Tamogatas":"100","Akoll":"1","Qkoll":"1","Villanyar":"2000","Uzemkolts":"0,1","Energiaar":"1000"})",
      kHu));
  const LineCounts t = CountLines(tiny["chart"]);
  EXPECT_TRUE(tiny["fault"].is_null());
  EXPECT_EQ(t.cost, 99);
  EXPECT_EQ(t.savings, 99);
  EXPECT_EQ(t.black, 6);
  EXPECT_EQ(tiny["chart"][2]["y1"], -32768);

  // A scale within one step of the 32-bit limit: the marks stop at 2140 million.
  const ordered_json big = Output(EvaluateLine(
      R"({"Beruhazas":"2025000000","Karbkolts":"0","Egyebkolts":"0","Uzemkolts":"0,1"})", kHu));
  EXPECT_EQ(CountLines(big["chart"]).black, 6 + 214);
  const auto& chart = big["chart"];
  EXPECT_EQ(chart[chart.size() - 6]["real"], 2140);
  EXPECT_EQ(chart.back()["text"], "(millió Ft)");
}

TEST(ChartOperationJson, EncodesEveryKind) {
  EXPECT_EQ(ChartOperationJson(Line{558, 3131, 616, 3128, kSavingsColor}),
            R"({"op":"Line","x1":558,"y1":3131,"x2":616,"y2":3128,"color":[250,100,30]})");
  EXPECT_EQ(ChartOperationJson(CurrentY{2742.78f}), R"({"op":"CurrentY","y":2742.78})");
  EXPECT_EQ(ChartOperationJson(ForeColor{kCostColor}), R"({"op":"ForeColor","color":[0,0,250]})");
  EXPECT_EQ(ChartOperationJson(FontName{""}), R"({"op":"FontName","name":""})");
  EXPECT_EQ(ChartOperationJson(Print{std::int16_t{5}}), R"({"op":"Print","int":5})");
  EXPECT_EQ(ChartOperationJson(LineDash{{8, 4.5f}}), R"({"op":"LineDash","pattern":[8,4.5]})");
  EXPECT_EQ(ChartOperationJson(LineDash{}), R"({"op":"LineDash","pattern":[]})");
  EXPECT_EQ(ChartOperationJson(Print{200.0}), R"({"op":"Print","real":200})");
  EXPECT_EQ(ChartOperationJson(Print{0.5}), R"({"op":"Print","real":0.5})");
  EXPECT_EQ(ChartOperationJson(Print{std::string("Idő (év)")}),
            R"j({"op":"Print","text":"Idő (év)"})j");
}

// --- Scenario files with the energy carrier ----------------------------------

const CarrierChoice kFirewood{Carrier::Firewood, "4500", "75", "0,02"};

InputTexts Typed() {
  InputTexts texts = StartupTexts(kHu);
  texts[Index(Field::Akoll)] = "8";
  texts[Index(Field::Energiaar)] = "15,0001";
  return texts;
}

TEST(ScenarioFile, TheCarrierKeysFollowTheFieldsAndReadBackAsTheyWere) {
  const std::string text = ScenarioText(Typed(), kFirewood);
  EXPECT_NE(text.find(R"("Energiaarvalt":"6","Energiahordozo":"Tuzifa","Egysegar":"4500",)"
                      R"("Hatasfok":"75","Co2tenyezo":"0,02"})"),
            std::string::npos)
      << text;
  const auto parsed = ParseScenario(text, kHu);
  ASSERT_TRUE(std::holds_alternative<Scenario>(parsed)) << std::get<std::string>(parsed);
  EXPECT_EQ(std::get<Scenario>(parsed), (Scenario{Typed(), kFirewood}));
}

// The window saves ScenarioText of its boxes and carrier; the page sends the
// same state as a line, its keys in its own order, and saves what the core
// makes of it: the two files are the same bytes, and each opens as the other.
TEST(ScenarioFile, ThePageSavesTheWindowsBytesForTheSameState) {
  for (const std::optional<CarrierChoice>& carrier :
       {std::optional<CarrierChoice>(), std::optional<CarrierChoice>(kFirewood)}) {
    const std::string window = ScenarioText(Typed(), carrier);
    ordered_json line = ordered_json::object();
    if (carrier) {
      line["Co2tenyezo"] = carrier->co2_factor;
      line["Energiahordozo"] = "Tuzifa";
      line["Hatasfok"] = carrier->efficiency_percent;
      line["Egysegar"] = carrier->unit_price;
    }
    for (const Field f : kAllFields) line[std::string(FieldName(f))] = Typed()[Index(f)];
    const std::optional<std::string> page = ScenarioTextOfLine(line.dump(), kHu);
    ASSERT_TRUE(page.has_value());
    EXPECT_EQ(*page, window);
    // What the page opens it as goes back to the same bytes.
    const auto opened = ParseScenario(*page, kHu);
    ASSERT_TRUE(std::holds_alternative<Scenario>(opened));
    EXPECT_EQ(ScenarioText(std::get<Scenario>(opened).texts, std::get<Scenario>(opened).carrier),
              window);
  }
}

TEST(ScenarioFile, AFileWithoutTheKeysOpensWithoutACarrierAndSavesAsBefore) {
  const std::string text = ScenarioText(Typed());
  EXPECT_EQ(text.find("Energiahordozo"), std::string::npos);
  EXPECT_EQ(ordered_json::parse(text).size(), kFieldCount);
  const auto parsed = ParseScenario(R"({"Akoll":"8"})", kHu);
  ASSERT_TRUE(std::holds_alternative<Scenario>(parsed));
  EXPECT_FALSE(std::get<Scenario>(parsed).carrier.has_value());
  // Only the carrier named: its default factor, the other texts empty.
  const auto gas = ParseScenario(R"({"Energiahordozo":"Foldgaz"})", kHu);
  ASSERT_TRUE(std::holds_alternative<Scenario>(gas));
  EXPECT_EQ(std::get<Scenario>(gas).carrier, (CarrierChoice{Carrier::NaturalGas, "", "", "0,184"}));
}

TEST(ScenarioFile, AWrongCarrierValueIsRefusedInHungarian) {
  const std::pair<const char*, const char*> wrong[] = {
      {R"({"Energiahordozo":"Szen","Hatasfok":"80"})", "Ismeretlen energiahordozó: „Szen”"},
      {R"({"Energiahordozo":"Földgáz"})", "Ismeretlen energiahordozó"},
      {R"({"Hatasfok":"80"})", "„Hatasfok” mező mellől hiányzik az „Energiahordozo”"},
      {R"({"Energiahordozo":"Foldgaz","Hatasfok":"150"})", "legfeljebb 100 %"},
      {R"({"Energiahordozo":"Foldgaz","Egysegar":"sok"})", "Nem szám: Egységár"},
      {R"({"Energiahordozo":"Foldgaz","Co2tenyezo":"-1"})", "nem lehet negatív"},
      {R"({"Energiahordozo":"Foldgaz","Hatasfok":90})", "Nem szöveg a mező értéke: „Hatasfok”"},
      {R"({"Egysegar":"1","Energiahordozo":"Foldgaz","Egysegar":"2"})",
       "Kétszer szereplő mező: „Egysegar”"},
  };
  for (const auto& [content, reason] : wrong) {
    const auto parsed = ParseScenario(content, kHu);
    ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << content;
    EXPECT_NE(std::get<std::string>(parsed).find(reason), std::string::npos)
        << std::get<std::string>(parsed);
    EXPECT_EQ(ScenarioTextOfLine(content, kHu), std::nullopt) << content;
  }
}

// The evaluator reads the carrier keys of a scenario file and ignores them.
TEST(EvaluateLine, TheCarrierKeysChangeNothingInTheOutput) {
  const std::string with = ScenarioText(Typed(), kFirewood);
  const std::string without = ScenarioText(Typed());
  EXPECT_EQ(LineText(EvaluateLine(with, kHu)), LineText(EvaluateLine(without, kHu)));
  // Read as strings once each, as the fields are; their values are not checked.
  EXPECT_EQ(Output(EvaluateLine(R"({"Energiahordozo":"Szen"})", kHu)).count("error"), 0u);
  EXPECT_EQ(Output(EvaluateLine(R"({"Hatasfok":90})", kHu)),
            ordered_json({{"error", "the value of Hatasfok is not a string"}}));
  EXPECT_EQ(Output(EvaluateLine(R"({"Hatasfok":"9","Hatasfok":"9"})", kHu)),
            ordered_json({{"error", "duplicate field: Hatasfok"}}));
}

}  // namespace
}  // namespace zr
