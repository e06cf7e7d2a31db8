#pragma once
// The fixed part of the chart: axes, legend and time caption. A repaint
// performs exactly this list; every run performs it over its curves.

#include "chart_operation.h"

namespace zr {

// Appends the frame's operations to `ops`.
void AppendChartFrame(ChartOperations& ops);
ChartOperations DrawChartFrame();

}  // namespace zr
