#include "chart_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <type_traits>

#include "number_text.h"

namespace zr {

namespace {

QColor ToQColor(const Color& c) { return QColor(c.red, c.green, c.blue); }

QPointF ToPixels(QPointF twips) { return twips / kTwipsPerPixel; }

QPointF ToPixels(float x, float y) { return ToPixels(QPointF(x, y)); }

// The nearest point where a line of `width` pixels covers whole pixels.
QPointF SnapToPixels(QPointF p, int width) {
  const double offset = width % 2 == 1 ? 0.5 : 0.0;
  return QPointF(std::round(p.x() - offset) + offset, std::round(p.y() - offset) + offset);
}

}  // namespace

ChartPainter::ChartPainter(QPainter& painter, ChartSettings& settings, QFont font,
                           const NumberFormat& format, QColor back, QSizeF area)
    : painter_(painter),
      settings_(settings),
      font_(std::move(font)),
      format_(format),
      back_(back),
      area_(area) {
  painter_.setRenderHint(QPainter::Antialiasing);
  painter_.setRenderHint(QPainter::TextAntialiasing);
}

void ChartPainter::Perform(const ChartOperation& operation) { std::visit(*this, operation); }

void ChartPainter::operator()(const Cls&) {
  const QRectF area(QPointF(0, 0), area_);
  painter_.save();
  painter_.setCompositionMode(QPainter::CompositionMode_Source);
  painter_.fillRect(area, back_);
  painter_.restore();
  settings_.print_position = QPointF(0, 0);
  settings_.dash.clear();
  Drawn(area, nullptr);
}

void ChartPainter::operator()(const DrawWidth& op) { settings_.pen_width = op.width; }

void ChartPainter::operator()(const Line& op) {
  const int width = std::max(settings_.pen_width, 1);
  QPointF from = ToPixels(op.x1, op.y1);
  QPointF to = ToPixels(op.x2, op.y2);
  Qt::PenCapStyle cap = Qt::RoundCap;
  if (from.x() == to.x() || from.y() == to.y()) {
    // Axes and marks sit on whole pixels with square ends: crisp, and
    // drawing them again (a repaint draws the frame over the frame the run
    // drew) leaves every pixel as it was.
    from = SnapToPixels(from, width);
    to = SnapToPixels(to, width);
    cap = Qt::SquareCap;
  }
  QPen pen(ToQColor(op.color), width, Qt::SolidLine, cap, Qt::RoundJoin);
  if (!settings_.dash.isEmpty()) {
    if (from != settings_.dash_end) settings_.dash_phase = 0;
    // Qt measures a dash pattern in pen widths.
    QList<qreal> pattern;
    for (const qreal length : settings_.dash) pattern.append(length / width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setDashPattern(pattern);
    pen.setDashOffset(settings_.dash_phase / width);
    settings_.dash_phase += QLineF(from, to).length();
    settings_.dash_end = to;
  }
  painter_.setPen(pen);
  painter_.drawLine(from, to);
  const qreal reach = width / 2.0 + 1;
  Drawn(QRectF(from, to).normalized().adjusted(-reach, -reach, reach, reach), nullptr);
}

void ChartPainter::operator()(const ForeColor& op) { settings_.text_color = ToQColor(op.color); }

void ChartPainter::operator()(const CurrentX& op) { settings_.print_position.setX(op.x); }

void ChartPainter::operator()(const CurrentY& op) { settings_.print_position.setY(op.y); }

void ChartPainter::operator()(const FontName& op) {
  settings_.font_name = QString::fromStdString(op.name);
}

void ChartPainter::operator()(const Print& op) {
  const QString text = std::visit(
      [this](const auto& value) -> QString {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, std::string>) {
          return QString::fromStdString(value);
        } else if constexpr (std::is_same_v<T, std::int16_t>) {
          return QString::number(value);
        } else {
          return QString::fromStdString(RealText(value, format_));
        }
      },
      op.value);
  QFont font = font_;
  if (!settings_.font_name.isEmpty()) font.setFamilies({settings_.font_name});
  const QFontMetricsF metrics(font, painter_.device());
  const QPointF top_left = ToPixels(settings_.print_position);
  const PrintedText printed{
      text, top_left, font, settings_.text_color,
      QRectF(top_left, QSizeF(metrics.horizontalAdvance(text), metrics.height()))
          .adjusted(-2, -2, 2, 2)};
  if (!print_wanted || print_wanted(printed)) {
    painter_.setFont(font);
    painter_.setPen(settings_.text_color);
    painter_.drawText(QPointF(top_left.x(), top_left.y() + metrics.ascent()), text);
    Drawn(printed.bounds, &printed);
  }
  // The next print starts on the line below, at the left edge.
  settings_.print_position =
      QPointF(0, settings_.print_position.y() + metrics.height() * kTwipsPerPixel);
}

void ChartPainter::operator()(const LineDash& op) {
  settings_.dash.clear();
  for (const float length : op.pattern) settings_.dash.append(length);
  settings_.dash_phase = 0;
}

}  // namespace zr
