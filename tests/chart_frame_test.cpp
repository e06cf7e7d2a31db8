#include "chart_frame.h"

#include <gtest/gtest.h>

#include <string>

namespace zr {
namespace {

ChartOperations Caption(Color color, float x, float y, const char* text) {
  return {ForeColor{color}, CurrentX{x}, CurrentY{y}, FontName{""}, Print{std::string(text)}};
}

TEST(ChartFrame, DrawsAxesThenTheFourCaptionsInOrder) {
  ChartOperations expected{Line{500, 100, 500, 3500, kBlack}, Line{300, 3350, 6300, 3350, kBlack}};
  for (const ChartOperations& caption :
       {Caption(kCostColor, 700, 100, "K\xC3\xB6lts\xC3\xA9g"), Caption(kBlack, 1300, 100, "/"),
        Caption(kSavingsColor, 1400, 100, "Haszon"),
        Caption(kBlack, 5800, 3450, "Id\xC5\x91 (\xC3\xA9v)")}) {
    expected.insert(expected.end(), caption.begin(), caption.end());
  }
  EXPECT_EQ(DrawChartFrame(), expected);
}

TEST(ChartFrame, AppendKeepsWhatIsAlreadyInTheList) {
  ChartOperations ops{Cls{}, DrawWidth{2}};
  AppendChartFrame(ops);
  ChartOperations expected{Cls{}, DrawWidth{2}};
  const ChartOperations frame = DrawChartFrame();
  expected.insert(expected.end(), frame.begin(), frame.end());
  EXPECT_EQ(ops, expected);
}

}  // namespace
}  // namespace zr
