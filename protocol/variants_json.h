#pragma once
// The comparison of variants as JSON, for zeltano-eval --variants and the
// page alike: {"names", "rows", "best_balance", "shortest_payback", "chart"},
// each row {"kind", "key", "cells", "differs", "marked"}.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "number_format.h"
#include "variants.h"

namespace zr {

// The table without its chart.
nlohmann::ordered_json VariantsToJson(const VariantsTable& table);

// The whole line: the table with "chart" (the drawing operations) last.
std::string VariantsText(const VariantsTable& table);

// zeltano-eval --variants: each input line one variant (an evaluator line,
// named "1. változat", "2. változat", ... by its place), one output line for
// them all. A line that is not an object of field texts, or a count other
// than 2 to 4, gives {"error": "..."} and sets `error`.
std::string EvaluateVariantLines(const std::vector<std::string>& lines, const NumberFormat& format,
                                 bool& error);

// The view's words, {key: text}.
nlohmann::ordered_json VariantsTextsToJson();

}  // namespace zr
