#pragma once
// The evaluator's line protocol: one JSON object of box texts in, one JSON
// object with the run's findings, texts, labels, fault and chart out.

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string_view>

#include "calculation_run.h"
#include "chart_operation.h"
#include "number_format.h"

namespace zr {

nlohmann::ordered_json ChartOperationToJson(const ChartOperation& op);
nlohmann::ordered_json OutcomeToJson(const RunOutcome& outcome);

struct LineResult {
  nlohmann::ordered_json output;  // the outcome, or {"error": "..."}
  bool error = false;
};

// The longest line EvaluateLine takes, not counting its line break.
inline constexpr std::size_t kMaxLineBytes = std::size_t{16} << 20;

// Missing fields take their start-up texts. A line that is not an object of
// distinct input fields with string values, is longer than kMaxLineBytes or
// holds a NUL byte gets {"error": "..."}; so does one whose run fails in any
// other way (out of memory, say): the call itself never throws.
LineResult EvaluateLine(std::string_view line, const NumberFormat& format);

// The error line for a line longer than kMaxLineBytes.
LineResult TooLongLineResult();

}  // namespace zr
