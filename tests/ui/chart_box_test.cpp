// The chart box performs chart operations in twips on the drawing it keeps;
// a repaint shows that drawing and draws the frame over it.

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <set>

#include "chart_frame.h"
#include "test_inputs.h"
#include "ui_test_support.h"

namespace zr::test {
namespace {

const QColor kBack(192, 192, 192);
const QColor kCost(0, 0, 250);
const QColor kSavings(250, 100, 30);

// A box like graf: 433 × 249 with a sunken border, grey inside.
struct Box {
  ChartBox box;
  Box() {
    box.setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    QPalette palette = box.palette();
    palette.setColor(QPalette::Window, kBack);
    box.setPalette(palette);
    box.setAutoFillBackground(true);
    box.resize(433, 249);
  }
  // The drawing's colour at a point given in logical pixels.
  QColor At(int x, int y) const {
    const qreal ratio = box.Drawing().devicePixelRatio();
    return box.Drawing().pixelColor(QPoint(qRound(x * ratio), qRound(y * ratio)));
  }
  QImage Grab() { return box.grab().toImage(); }
};

// Pixels of `color` in `image` as a bounding rectangle (logical pixels).
QRect Extent(const QImage& image, const QColor& color) {
  QRect extent;
  const qreal ratio = image.devicePixelRatio();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) == color) {
        extent |= QRect(static_cast<int>(x / ratio), static_cast<int>(y / ratio), 1, 1);
      }
    }
  }
  return extent;
}

bool HasColorNear(const QImage& image, QPoint center, int radius, const QColor& color) {
  const QRect area(center - QPoint(radius, radius), center + QPoint(radius, radius));
  QImage part = image.copy(
      QRect(area.topLeft() * image.devicePixelRatio(), area.size() * image.devicePixelRatio()));
  part.setDevicePixelRatio(image.devicePixelRatio());
  return !Extent(part, color).isEmpty();
}

class PenWidthTest : public ::testing::TestWithParam<int> {};

TEST_P(PenWidthTest, LineInTwipsCoversPenWidthPixelsAcrossIt) {
  Box b;
  const int width = GetParam();
  b.box.Perform({Cls{}, DrawWidth{width}, Line{300, 1500, 6000, 1500, kCostColor}});
  EXPECT_EQ(b.box.PenWidth(), width);
  int covered = 0;
  for (int y = 90; y < 110; ++y) covered += b.At(200, y) == kCost ? 1 : 0;
  EXPECT_EQ(covered, width);
  EXPECT_EQ(b.At(200, 100), kCost);  // 1500 twips = 100 px
  EXPECT_EQ(b.At(200, 90), kBack);
  EXPECT_EQ(b.At(10, 100), kBack);   // the line starts at 20 px
  EXPECT_EQ(b.At(410, 100), kBack);  // and ends at 400 px

  b.box.Perform(Cls{});
  EXPECT_TRUE(Extent(b.box.Drawing(), kCost).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Widths, PenWidthTest, ::testing::Values(1, 2, 4),
                         [](const auto& info) { return std::to_string(info.param) + "Pixels"; });

// Pixels that differ from `back`, as a bounding rectangle (logical pixels).
QRect Ink(const QImage& image, const QColor& back) {
  QRect extent;
  const qreal ratio = image.devicePixelRatio();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) != back) {
        extent |= QRect(static_cast<int>(x / ratio), static_cast<int>(y / ratio), 1, 1);
      }
    }
  }
  return extent;
}

TEST(ChartBox, PrintPutsTheTextsTopLeftCornerAtThePrintPositionAntialiased) {
  Box b;
  b.box.Perform({Cls{}, ForeColor{kSavingsColor}, CurrentX{1500}, CurrentY{750}, FontName{""},
                 Print{std::string("Haszon")}});
  EXPECT_EQ(b.box.TextColor(), kSavings);
  const QRect text = Ink(b.box.Drawing(), kBack);
  ASSERT_FALSE(text.isEmpty());
  const QFontMetricsF metrics(b.box.font());
  EXPECT_GE(text.left(), 100);
  EXPECT_LE(text.left(), 102);
  EXPECT_GE(text.top(), 50);
  EXPECT_LE(text.top(), 50 + metrics.ascent() - metrics.capHeight() + 1);
  EXPECT_LE(text.bottom(), 50 + metrics.height());
  EXPECT_NEAR(text.width(), metrics.horizontalAdvance("Haszon"), 3);
  // Edges blend into the back colour, as the window's other texts do.
  std::set<QRgb> shades;
  const QImage& drawing = b.box.Drawing();
  for (int y = 0; y < drawing.height(); ++y) {
    for (int x = 0; x < drawing.width(); ++x) shades.insert(drawing.pixel(x, y));
  }
  EXPECT_GT(shades.size(), 3u);
}

struct NumberCase {
  Print number;
  std::string separator;
  std::string text;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class PrintNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(PrintNumberTest, NumbersPrintAsTheirTexts) {
  const NumberCase& c = GetParam();
  const auto draw = [&](const Print& print) {
    Box b;
    b.box.SetNumberFormat(NumberFormat{c.separator});
    b.box.Perform({Cls{}, ForeColor{kBlack}, CurrentX{600}, CurrentY{600}, FontName{""}, print});
    return b.box.Drawing();
  };
  const QImage as_number = draw(c.number);
  EXPECT_EQ(as_number, draw(Print{c.text}));
  EXPECT_FALSE(Extent(as_number, Qt::black).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, PrintNumberTest,
    ::testing::Values(NumberCase{Print{std::int16_t{250}}, ",", "250"},
                      NumberCase{Print{std::int16_t{-7}}, ",", "-7"},
                      NumberCase{Print{2.5}, ",", "2,5"}, NumberCase{Print{2.5}, ".", "2.5"},
                      NumberCase{Print{1000.0}, ",", "1000"}),
    [](const auto& info) {
      return test::TextTestName(info.param.text) +
             (std::holds_alternative<double>(info.param.number.value) ? "AsReal" : "AsWhole");
    });

TEST(ChartBox, RepaintShowsTheKeptDrawingAndTheFrameAtTheRunsPlaces) {
  Box b;
  b.box.SetRepaintOperations(DrawChartFrame());
  b.box.Perform({Cls{}, DrawWidth{2}});
  const QImage frame_only = b.Grab();
  const QPoint inner = b.box.contentsRect().topLeft();
  EXPECT_EQ(frame_only.pixelColor(inner + QPoint(33, 100)), Qt::black);         // value axis, x 500
  EXPECT_EQ(frame_only.pixelColor(inner + QPoint(200, 223)), Qt::black);        // time axis, y 3350
  EXPECT_TRUE(HasColorNear(frame_only, inner + QPoint(55, 12), 8, kCost));      // "Költség"
  EXPECT_TRUE(HasColorNear(frame_only, inner + QPoint(105, 12), 8, kSavings));  // "Haszon"

  // A run draws the same frame into the drawing: the repaint lands on it.
  b.box.Perform(DrawChartFrame());
  EXPECT_EQ(b.Grab(), frame_only);

  // The run's own lines survive any number of repaints.
  b.box.Perform(Line{2000, 2000, 4000, 1000, kCostColor});
  const QImage with_line = b.Grab();
  EXPECT_TRUE(HasColorNear(with_line, inner + QPoint(200, 100), 3, kCost));
  b.box.repaint();
  EXPECT_EQ(b.Grab(), with_line);

  // A line over a caption of the kept frame: the repaint puts the caption
  // back on top, as it does on a box that keeps no drawing.
  b.box.Perform({DrawWidth{20}, Line{600, 220, 2200, 220, kBlack}});
  EXPECT_TRUE(HasColorNear(b.Grab(), inner + QPoint(55, 12), 8, kCost));
}

TEST(ChartBox, WindowChartShowsTheCurvesAndKeepsItsLabelsOnTop) {
  WindowFixture f;
  auto* graf = f.Child<ChartBox>("graf");
  const QImage chart = graf->grab().toImage();
  const QPoint inner = graf->contentsRect().topLeft();
  const auto at_twips = [&](int x, int y) { return inner + QPoint(x / 15, y / 15); };
  // The cost curve starts high at the left, the savings curve ends low at the right.
  EXPECT_TRUE(HasColorNear(chart, at_twips(587, 620), 3, kCost));
  EXPECT_TRUE(HasColorNear(chart, at_twips(6270, 2940), 3, kSavings));
  graf->repaint();
  EXPECT_EQ(graf->grab().toImage(), chart);

  // A thick line right through the payback label stays under it.
  auto* label = f.Child<QLabel>("L");
  graf->Perform({DrawWidth{20}, Line{4000, 727, 6000, 727, kCostColor}});
  const QImage covered = graf->grab().toImage();
  EXPECT_TRUE(HasColorNear(covered, label->geometry().topRight() + QPoint(8, 8), 3, kCost));
  QImage under_label = covered.copy(QRect(label->geometry().topLeft() * covered.devicePixelRatio(),
                                          label->size() * covered.devicePixelRatio()));
  EXPECT_TRUE(Extent(under_label, kCost).isEmpty());
  EXPECT_EQ(label->text(), "16,68");
}

}  // namespace
}  // namespace zr::test
