#pragma once
// The chart as a picture: PNG as the chart box shows it, or SVG as a vector
// drawing of the last run with the box's payback labels. Made in memory;
// the window writes the bytes out.

#include <QByteArray>

#include "chart_operation.h"

namespace zr {

class ChartBox;

// The box as it stands on screen, as a PNG image; empty when it cannot be made.
QByteArray ChartPng(ChartBox& box);

// `operations` (a whole run's chart) and the labels inside `box`, as an SVG
// drawing of the box's drawing size; empty when it cannot be made.
QByteArray ChartSvg(const ChartBox& box, const ChartOperations& operations);

}  // namespace zr
