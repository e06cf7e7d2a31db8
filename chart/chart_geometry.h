#pragma once
// Where the chart's parts stand, in twips of the chart box's drawing area
// (origin top left, y downwards). The frame and the plot both draw from
// these, so the curves, axes and marks always meet where they should.

namespace zr::chart {

// The value axis: a vertical line at x 500 from the top of the chart down
// to 150 below the time axis. The chart scale stands at its top.
inline constexpr float kValueAxisX = 500;
inline constexpr float kValueAxisTop = 100;
inline constexpr float kValueAxisBottom = 3500;

// The time axis: value 0, from 200 left of the value axis to the last
// chart point.
inline constexpr float kTimeAxisY = 3350;
inline constexpr float kTimeAxisLeft = 300;
inline constexpr float kTimeAxisRight = 6300;

// From value 0 up to the chart scale, and from one year to the last point.
inline constexpr double kValueSpan = kTimeAxisY - kValueAxisTop;   // 3250
inline constexpr double kTimeSpan = kTimeAxisRight - kValueAxisX;  // 5800

// Chart point k stands at kValueAxisX + kPointSpacing × k.
inline constexpr int kPointSpacing = 58;

// Marks: 50 long, below the time axis and left of the value axis; a time
// mark's year number starts 100 left of it, a value mark 100 below its
// number.
inline constexpr float kMarkLength = 50;
inline constexpr float kMarkTextOffset = 100;
inline constexpr float kTimeNumberY = 3450;
inline constexpr float kValueNumberX = 20;
// A time mark whose number would start at or right of this is not drawn,
// so the numbers keep off the caption "Idő (év)".
inline constexpr double kTimeNumberLimit = 5700;

// Captions: the legend at the top, the time caption at the lower right,
// the unit of the value axis below the legend.
inline constexpr float kLegendY = 100;
inline constexpr float kCostLegendX = 700;
inline constexpr float kSlashLegendX = 1300;
inline constexpr float kSavingsLegendX = 1400;
inline constexpr float kTimeCaptionX = 5800;
inline constexpr float kTimeCaptionY = 3450;
inline constexpr float kUnitCaptionX = 1000;
inline constexpr float kUnitCaptionY = 300;

}  // namespace zr::chart
