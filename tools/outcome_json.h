#pragma once
// The evaluator's line protocol: one JSON object of box texts in, one JSON
// object with the run's findings, texts, labels, fault and chart out.

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

// Missing fields take their start-up texts.
LineResult EvaluateLine(std::string_view line, const NumberFormat& format);

}  // namespace zr
