// The page's entry into the core: one calculation run per call, answered in
// the evaluator's JSON, so the page shows exactly the evaluator's figures,
// findings, replacements, fault and chart operations.
#include <emscripten/emscripten.h>

#include <string>

#include "number_text.h"
#include "outcome_json.h"

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
  answer = zr::EvaluateLine(line, FormatWith(separator))
               .output.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
  return answer.c_str();
}

// The text the window prints for a floating value in the chart.
EMSCRIPTEN_KEEPALIVE const char* zr_real_text(double value, const char* separator) {
  answer = zr::RealText(value, FormatWith(separator));
  return answer.c_str();
}

}  // extern "C"
