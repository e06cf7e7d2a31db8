#include "chart_frame.h"

#include <string>

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
  ops.emplace_back(Line{500, 100, 500, 3500, kBlack});    // value axis
  ops.emplace_back(Line{300, 3350, 6300, 3350, kBlack});  // time axis
  // The legend words take the colours of the curves they name.
  AppendCaption(ops, kCostColor, 700, 100, "Költség");
  AppendCaption(ops, kBlack, 1300, 100, "/");
  AppendCaption(ops, kSavingsColor, 1400, 100, "Haszon");
  // Ends in black, which the marks drawn after the frame rely on.
  AppendCaption(ops, kBlack, 5800, 3450, "Idő (év)");
}

ChartOperations DrawChartFrame() {
  ChartOperations ops;
  AppendChartFrame(ops);
  return ops;
}

}  // namespace zr
