#pragma once
// The evaluator's "analysis" member: break-even values, sensitivity, net
// present value, internal rate and simple payback, as texts the way the
// window shows figures (regional decimal separator), and "view": the
// figures as shown and the tornado chart's model, which the page draws.

#include <nlohmann/json.hpp>

#include "analysis.h"
#include "number_format.h"

namespace zr {

nlohmann::ordered_json AnalysisToJson(const Analysis& analysis, const NumberFormat& format);

// The analysis view's words, {key: text}.
nlohmann::ordered_json AnalysisTextsToJson();

}  // namespace zr
