#pragma once
// The chart box: a picture box that performs chart operations on a drawing
// it keeps, so covering and uncovering the window does not lose the chart.
// A repaint shows the kept drawing and then performs the repaint operations
// (the chart frame) over it.

#include <QColor>
#include <QFont>
#include <QFrame>
#include <QImage>
#include <QPointF>

#include "chart_operation.h"
#include "number_format.h"

class QPainter;

namespace zr {

class ChartBox : public QFrame {
  Q_OBJECT

 public:
  explicit ChartBox(QWidget* parent = nullptr);

  // Separator for printed floating values.
  void SetNumberFormat(NumberFormat format) { format_ = std::move(format); }
  // What a repaint performs over the kept drawing.
  void SetRepaintOperations(ChartOperations operations);

  // Performs `operations` in order on the kept drawing and schedules a repaint.
  void Perform(const ChartOperations& operations);
  void Perform(const ChartOperation& operation);

  // The kept drawing, at the device pixel ratio of the screen.
  const QImage& Drawing() const { return image_; }
  int PenWidth() const { return pen_width_; }
  QColor TextColor() const { return text_color_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  class Executor;

  void EnsureDrawing();
  QColor BackColor() const;

  QImage image_;
  ChartOperations repaint_operations_;
  NumberFormat format_;

  // Drawing settings; they outlive a list of operations, as the chart box's do.
  int pen_width_ = 1;
  QColor text_color_{Qt::black};
  QPointF print_position_;  // twips
  QString font_name_;       // empty: the box's own font
};

// Twips per logical pixel (1440 twips per inch at 96 dots per inch).
inline constexpr double kTwipsPerPixel = 15.0;

}  // namespace zr
