#pragma once
// Performs chart operations with a QPainter whose unit is one logical pixel
// (fifteen twips): on the chart box's kept drawing, on the box itself at a
// repaint, on a report page or in an SVG file.

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>

#include "chart_operation.h"
#include "number_format.h"

class QPainter;

namespace zr {

// The drawing settings; they outlive a list of operations, as a picture
// box's do.
struct ChartSettings {
  int pen_width = 1;
  QColor text_color{Qt::black};
  QPointF print_position;  // twips
  QString font_name;       // empty: the surface's own font
  QList<qreal> dash;       // pixels drawn and left out in turn; empty: solid
  // Where the last line ended and how far into the dash pattern, in pixels,
  // so the next line that starts there carries the pattern on.
  QPointF dash_end{-1, -1};
  qreal dash_phase = 0;
};

// One printed text as it lands on the surface, in logical pixels.
struct PrintedText {
  QString text;
  QPointF top_left;
  QFont font;
  QColor color;
  QRectF bounds;

  bool SameLook(const PrintedText& other) const {
    return text == other.text && top_left == other.top_left && font == other.font &&
           color == other.color;
  }
};

class ChartPainter {
 public:
  // `font` is the surface's own font, `back` its back colour and `area` the
  // size that Cls erases, in logical pixels.
  ChartPainter(QPainter& painter, ChartSettings& settings, QFont font, const NumberFormat& format,
               QColor back, QSizeF area);

  void Perform(const ChartOperation& operation);
  void Perform(const ChartOperations& operations) {
    for (const ChartOperation& operation : operations) Perform(operation);
  }

  // Told what each drawing operation covers; `printed` is set for a Print.
  std::function<void(const QRectF& covered, const PrintedText* printed)> on_drawn;
  // Asked before a text is drawn; false leaves it out.
  std::function<bool(const PrintedText& text)> print_wanted;

  // The operations, one overload each (for std::visit).
  void operator()(const Cls&);
  void operator()(const DrawWidth& op);
  void operator()(const Line& op);
  void operator()(const ForeColor& op);
  void operator()(const CurrentX& op);
  void operator()(const CurrentY& op);
  void operator()(const FontName& op);
  void operator()(const Print& op);
  void operator()(const LineDash& op);

 private:
  void Drawn(const QRectF& covered, const PrintedText* printed) const {
    if (on_drawn) on_drawn(covered, printed);
  }

  QPainter& painter_;
  ChartSettings& settings_;
  QFont font_;
  const NumberFormat& format_;
  QColor back_;
  QSizeF area_;
};

}  // namespace zr
