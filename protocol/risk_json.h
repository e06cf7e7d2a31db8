#pragma once
// The evaluator's "risk" member: runs, seed, faults, the share that pays
// back, the payback and balance percentiles and the payback histogram, as
// texts the way the window shows figures (regional decimal separator).

#include <nlohmann/json.hpp>

#include "number_format.h"
#include "risk.h"

namespace zr {

nlohmann::ordered_json RiskToJson(const RiskResult& risk, const NumberFormat& format);

}  // namespace zr
