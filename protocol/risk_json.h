#pragma once
// The evaluator's "risk" member: runs, seed, faults, the share that pays
// back, the payback and balance percentiles and the payback histogram, as
// texts the way the window shows figures (regional decimal separator).

#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "number_format.h"
#include "risk.h"
#include "risk_view.h"

namespace zr {

nlohmann::ordered_json RiskToJson(const RiskResult& risk, const NumberFormat& format);

// What the risk view shows of a result, which the page draws: {"status",
// "figures": {"share", "summary", "payback": [P10, P50, P90], "balance":
// [...], "faults"}, "histogram": {"bars": [{"kind", "runs", "label", "left",
// "right", "height"}], "year_ticks", "run_ticks": [{"at", "text"}], "period":
// {"at", "text"} or null, "description"}}.
nlohmann::ordered_json RiskViewToJson(const RiskResult& risk, std::optional<Money> period,
                                      const NumberFormat& format);

// The risk view's words, {key: text}.
nlohmann::ordered_json RiskTextsToJson();

// Range rows as [{"field", "low", "mode", "high"}].
nlohmann::ordered_json RangeRowsToJson(const std::vector<RangeTexts>& rows);

// The rows of such a JSON array; nullopt when it is not one (an unknown
// field, a member that is not a text).
std::optional<std::vector<RangeTexts>> RangeRowsFromJson(const nlohmann::json& rows);

}  // namespace zr
