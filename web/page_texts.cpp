// Run under node while the page is built: hands build-page.mjs the words of
// the analysis view from the core, so the page writes none of its own.
//
// Reads a JSON object {field: the caption the form shows beside its box} on
// standard input and writes {"texts": {key: text}, "captions": {field:
// {"text", "unit"}}, "chart": {"twipsPerPixel", "cost", "savings"}}: the
// analysis texts, each caption split from its unit, the chart's scale and
// curve colours, the energy price helper's words and the scenario file
// commands' words, the risk and variants views' words, and "startup": the start-up
// run's outcome with the Hungarian separator, exactly as the page's core call
// answers it, except that the chart's floating values are already printed,
// so that a first visit shows the results before the WebAssembly is ready.
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>

#include "analysis_json.h"
#include "analysis_view.h"
#include "chart_operation.h"
#include "energy_price.h"
#include "number_text.h"
#include "outcome_json.h"
#include "risk_json.h"
#include "risk_view.h"
#include "scenario_file.h"
#include "variants_json.h"

int main() {
  using json = nlohmann::ordered_json;
  const std::string input{std::istreambuf_iterator<char>(std::cin), {}};
  const json shown = json::parse(input, nullptr, /*allow_exceptions=*/false);
  if (!shown.is_object()) {
    std::cerr << "page-texts: the input is not a JSON object of captions\n";
    return 1;
  }
  json captions = json::object();
  for (const auto& [field, caption] : shown.items()) {
    if (!caption.is_string()) {
      std::cerr << "page-texts: the caption of " << field << " is not a text\n";
      return 1;
    }
    const zr::CaptionParts parts = zr::SplitCaption(caption.get<std::string>());
    captions[field] = {{"text", parts.text}, {"unit", parts.unit}};
  }
  const auto rgb = [](const zr::Color& c) { return json::array({c.red, c.green, c.blue}); };
  const json chart = {{"twipsPerPixel", zr::kTwipsPerPixel}, {"cost", rgb(zr::kCostColor)},
                      {"savings", rgb(zr::kSavingsColor)},   {"within", rgb(zr::kWithinColor)},
                      {"beyond", rgb(zr::kBeyondColor)},     {"none", rgb(zr::kNoneColor)}};
  json energy_price = json::object();
  for (int i = 0; i < static_cast<int>(zr::EnergyPriceWord::kCount); ++i) {
    const auto word = static_cast<zr::EnergyPriceWord>(i);
    energy_price[std::string(zr::WordKey(word))] = zr::WordOf(word);
  }
  const json scenario = {{"openTitle", zr::kOpenScenarioTitle},
                         {"saveTitle", zr::kSaveScenarioTitle},
                         {"cannotOpen", zr::kCannotOpenScenario}};
  const zr::NumberFormat hungarian = zr::NumberFormat::Hungarian();
  json startup = json::parse(zr::LineText(zr::EvaluateLine("{}", hungarian)));
  for (json& op : startup["chart"]) {
    if (op.contains("real")) {
      op["text"] = zr::RealText(op["real"].get<double>(), hungarian);
      op.erase("real");
    }
  }
  std::cout << json{{"texts", zr::AnalysisTextsToJson()},
                    {"captions", std::move(captions)},
                    {"chart", chart},
                    {"energyPrice", std::move(energy_price)},
                    {"scenario", scenario},
                    {"risk", zr::RiskTextsToJson()},
                    {"variants", zr::VariantsTextsToJson()},
                    {"startup", std::move(startup)}}
                   .dump()
            << '\n';
  return std::cout.good() ? 0 : 1;
}
