#pragma once
// The chart as a picture file: PNG as the chart box shows it, or SVG as a
// vector drawing of the last run with the box's payback labels.

#include <QString>

#include "chart_operation.h"

class QLabel;

namespace zr {

class ChartBox;

// Writes the box as it stands on screen to a PNG file.
bool SaveChartPng(ChartBox& box, const QString& path);

// Writes `operations` (a whole run's chart) and the labels inside `box` to
// an SVG file of the box's drawing size.
bool SaveChartSvg(const ChartBox& box, const ChartOperations& operations, const QString& path);

}  // namespace zr
