#pragma once
#include <optional>

#include "balance_estimate.h"
#include "economics.h"

namespace zr {

// First period of the grid 0.10, 0.11, ... 100.00 years at which the
// levelised savings reach the levelised cost; 0 when they do at 0.10
// already; nullopt when they do not on the grid. Each period is compared in
// 64-bit whole Ft; a period whose figures leave even that range (or the
// Money or double range) counts as not yet paid back, and the search goes on.
std::optional<Money> PaybackSearch(const PeriodModel& model);
// The same, with the model's bounds already built.
std::optional<Money> PaybackSearch(const PeriodModel& model, const ModelBounds& bounds);

// Whether the levelised savings of period t reach its levelised total cost.
bool SavingsReachCost(const PeriodModel& model, Money t);

}  // namespace zr
