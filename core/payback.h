#pragma once
#include <optional>

#include "economics.h"

namespace zr {

// First period of the grid 0.10, 0.11, ... 100.00 years at which the
// levelised savings reach the levelised cost; 0 when they do at 0.10
// already; nullopt when they do not on the grid. Each period is compared in
// 64-bit whole Ft; a period whose figures leave even that range (or the
// Money or double range) counts as not yet paid back, and the search goes on.
std::optional<Money> PaybackSearch(const PeriodModel& model);

// Whether the levelised savings of period t reach its levelised total cost.
bool SavingsReachCost(const PeriodModel& model, Money t);

}  // namespace zr
