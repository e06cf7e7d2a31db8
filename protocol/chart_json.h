#pragma once
// Chart operations as JSON text, written straight into a string: a chart has
// hundreds of operations, and as a document of small objects they would cost
// more than all the rest of an output line.

#include <string>

#include "chart_operation.h"

namespace zr {

// One operation: {"op":"Line","x1":558,...}.
std::string ChartOperationJson(const ChartOperation& op);
// A whole chart as a JSON array of operations.
std::string ChartJson(const ChartOperations& chart);

}  // namespace zr
