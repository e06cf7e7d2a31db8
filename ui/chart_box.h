#pragma once
// The chart box: a picture box that performs chart operations on a drawing
// it keeps, so covering and uncovering the window does not lose the chart.
// A repaint shows the kept drawing and then performs the repaint operations
// (the chart frame) over it.

#include <QColor>
#include <QFrame>
#include <QImage>
#include <vector>

#include "chart_operation.h"
#include "chart_painter.h"
#include "number_format.h"

namespace zr {

class ChartBox : public QFrame {
  Q_OBJECT

 public:
  explicit ChartBox(QWidget* parent = nullptr);

  // Separator for printed floating values.
  void SetNumberFormat(NumberFormat format) { format_ = std::move(format); }
  const NumberFormat& Format() const { return format_; }
  // What a repaint performs over the kept drawing.
  void SetRepaintOperations(ChartOperations operations);
  // The chart drawn at `scale` of the layout's, the box being laid out so
  // (called before its font is scaled); the kept drawing starts anew
  // (perform the operations again).
  void SetScale(qreal scale);
  qreal Scale() const { return scale_; }
  // The font the chart is drawn with at the layout's scale.
  QFont ChartFont() const { return scale_ == 1 ? font() : chart_font_; }

  // Performs `operations` in order on the kept drawing and schedules a repaint.
  void Perform(const ChartOperations& operations);
  void Perform(const ChartOperation& operation);

  // The kept drawing, at the device pixel ratio of the screen.
  const QImage& Drawing() const { return image_; }
  int PenWidth() const { return settings_.pen_width; }
  QColor TextColor() const { return settings_.text_color; }
  QColor BackColor() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void EnsureDrawing();

  QImage image_;
  ChartOperations repaint_operations_;
  NumberFormat format_;
  ChartSettings settings_;
  // Texts in the kept drawing that nothing has been drawn over since. A
  // repaint leaves out a text it finds here: it is on screen already, and
  // an antialiased text drawn twice would come out bolder than once.
  std::vector<PrintedText> intact_texts_;
  qreal scale_ = 1;
  QFont chart_font_;  // the box's font as laid out
};

}  // namespace zr
