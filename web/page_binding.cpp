// The page's entry into the core: one calculation run per call, answered in
// the evaluator's JSON, so the page shows exactly the evaluator's figures,
// findings, replacements, fault and chart operations.
#include <emscripten/emscripten.h>

#include <string>

#include "analysis.h"
#include "analysis_json.h"
#include "calculation_run.h"
#include "number_text.h"
#include "outcome_json.h"
#include "sensitivity.h"

namespace {

// The answer lives until the next call; the page copies it at once.
std::string answer;

zr::NumberFormat FormatWith(const char* separator) {
  zr::NumberFormat format = zr::NumberFormat::Hungarian();
  if (separator != nullptr && *separator != '\0') format.decimal_separator = separator;
  return format;
}

}  // namespace

extern "C" {

// `line` is an evaluator input line: an object of box texts, where a missing
// field takes its start-up text ("{}" is the start-up run).
EMSCRIPTEN_KEEPALIVE const char* zr_evaluate(const char* line, const char* separator) {
  answer = zr::LineText(zr::EvaluateLine(line, FormatWith(separator)));
  return answer.c_str();
}

// The text the window prints for a floating value in the chart.
EMSCRIPTEN_KEEPALIVE const char* zr_real_text(double value, const char* separator) {
  answer = zr::RealText(value, FormatWith(separator));
  return answer.c_str();
}

// The analysis of a scenario: `line` holds the texts a run left in the boxes
// (its corrected texts). Answers {"inputs": field -> the value used,
// "L": the payback text, "analysis": the evaluator's analysis member}, or
// {"error": ...} for a line that is not an object of field texts.
EMSCRIPTEN_KEEPALIVE const char* zr_analyse(const char* line, const char* separator) {
  using json = nlohmann::ordered_json;
  const zr::NumberFormat format = FormatWith(separator);
  const json request = json::parse(line, nullptr, /*allow_exceptions=*/false);
  json out = json::object();
  zr::InputTexts texts = zr::StartupTexts(format);
  for (std::size_t i = 0; request.is_object() && i < zr::kFieldCount; ++i) {
    const auto at = request.find(std::string(zr::FieldName(zr::kAllFields[i])));
    if (at != request.end() && at->is_string()) texts[i] = at->get<std::string>();
  }
  if (!request.is_object()) {
    out["error"] = "the line is not a JSON object";
  } else {
    const zr::InputSet inputs = zr::CalculationRun(texts, format).inputs;
    json values = json::object();
    for (zr::Field f : zr::kAllFields) {
      values[std::string(zr::FieldName(f))] = zr::MoneyText(inputs[f], format);
    }
    const auto base = zr::PaybackAndBalanceOf(inputs);
    out["inputs"] = std::move(values);
    out["L"] = base.payback ? json(zr::PaybackText(*base.payback, format)) : json(nullptr);
    out["analysis"] = zr::AnalysisToJson(zr::Analyse(inputs, format), format);
  }
  answer = out.dump(-1, ' ', false, json::error_handler_t::replace);
  return answer.c_str();
}

}  // extern "C"
