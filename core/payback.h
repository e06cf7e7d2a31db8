#pragma once
#include <optional>

#include "economics.h"

namespace zr {

// First period of the grid 0.10, 0.11, ... 100.00 years at which the
// levelised savings reach the levelised cost; 0 when they do at 0.10
// already; nullopt when they do not on the grid. A fault in the arithmetic
// propagates to the caller.
std::optional<Money> PaybackSearch(const PeriodModel& model);

}  // namespace zr
