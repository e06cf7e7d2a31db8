#include "chart_frame.h"

#include <string>

#include "chart_geometry.h"

namespace zr {
namespace {

// Every caption sets its own colour, position and the default face, so the
// frame does not depend on what was drawn before it.
void AppendCaption(ChartOperations& ops, Color color, float x, float y, const char* text) {
  ops.emplace_back(ForeColor{color});
  ops.emplace_back(CurrentX{x});
  ops.emplace_back(CurrentY{y});
  ops.emplace_back(FontName{""});
  ops.emplace_back(Print{std::string(text)});
}

}  // namespace

void AppendChartFrame(ChartOperations& ops) {
  using namespace chart;
  ops.emplace_back(Line{kValueAxisX, kValueAxisTop, kValueAxisX, kValueAxisBottom, kBlack});
  ops.emplace_back(Line{kTimeAxisLeft, kTimeAxisY, kTimeAxisRight, kTimeAxisY, kBlack});
  // The legend words take the colours of the curves they name.
  AppendCaption(ops, kCostColor, kCostLegendX, kLegendY, "Költség");
  AppendCaption(ops, kBlack, kSlashLegendX, kLegendY, "/");
  AppendCaption(ops, kSavingsColor, kSavingsLegendX, kLegendY, "Haszon");
  // Ends in black, which the marks drawn after the frame rely on.
  AppendCaption(ops, kBlack, kTimeCaptionX, kTimeCaptionY, "Idő (év)");
}

ChartOperations DrawChartFrame() {
  ChartOperations ops;
  AppendChartFrame(ops);
  return ops;
}

}  // namespace zr
