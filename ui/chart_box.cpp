#include "chart_box.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
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

// Performs operations with one painter, reading and updating the box's
// drawing settings.
class ChartBox::Executor {
 public:
  Executor(ChartBox& box, QPainter& painter) : box_(box), painter_(painter) {
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.setRenderHint(QPainter::TextAntialiasing);
  }

  void operator()(const Cls&) {
    painter_.save();
    painter_.setCompositionMode(QPainter::CompositionMode_Source);
    painter_.fillRect(QRectF(QPointF(0, 0), box_.contentsRect().size()), box_.BackColor());
    painter_.restore();
    box_.print_position_ = QPointF(0, 0);
  }
  void operator()(const DrawWidth& op) { box_.pen_width_ = op.width; }
  void operator()(const Line& op) {
    const int width = std::max(box_.pen_width_, 1);
    QPointF from = ToPixels(op.x1, op.y1);
    QPointF to = ToPixels(op.x2, op.y2);
    Qt::PenCapStyle cap = Qt::RoundCap;
    if (from.x() == to.x() || from.y() == to.y()) {
      // Axes and marks sit on whole pixels with square ends: crisp, and
      // drawing them again (a repaint draws the frame over the frame the
      // run drew) leaves every pixel as it was.
      from = SnapToPixels(from, width);
      to = SnapToPixels(to, width);
      cap = Qt::SquareCap;
    }
    painter_.setPen(QPen(ToQColor(op.color), width, Qt::SolidLine, cap, Qt::RoundJoin));
    painter_.drawLine(from, to);
  }
  void operator()(const ForeColor& op) { box_.text_color_ = ToQColor(op.color); }
  void operator()(const CurrentX& op) { box_.print_position_.setX(op.x); }
  void operator()(const CurrentY& op) { box_.print_position_.setY(op.y); }
  void operator()(const FontName& op) { box_.font_name_ = QString::fromStdString(op.name); }
  void operator()(const Print& op) {
    const QString text = std::visit(
        [this](const auto& value) -> QString {
          using T = std::decay_t<decltype(value)>;
          if constexpr (std::is_same_v<T, std::string>) {
            return QString::fromStdString(value);
          } else if constexpr (std::is_same_v<T, std::int16_t>) {
            return QString::number(value);
          } else {
            return QString::fromStdString(RealText(value, box_.format_));
          }
        },
        op.value);
    QFont font = box_.font();
    if (!box_.font_name_.isEmpty()) font.setFamilies({box_.font_name_});
    // Without antialiasing a text printed twice at one place (the frame's
    // captions on a repaint) looks exactly as printed once.
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetricsF metrics(font, painter_.device());
    const QPointF top_left = ToPixels(box_.print_position_);
    painter_.setFont(font);
    painter_.setPen(box_.text_color_);
    painter_.drawText(QPointF(top_left.x(), top_left.y() + metrics.ascent()), text);
    // The next print starts on the line below, at the left edge.
    box_.print_position_ = QPointF(0, box_.print_position_.y() + metrics.height() * kTwipsPerPixel);
  }

 private:
  ChartBox& box_;
  QPainter& painter_;
};

ChartBox::ChartBox(QWidget* parent) : QFrame(parent) { setFocusPolicy(Qt::StrongFocus); }

void ChartBox::SetRepaintOperations(ChartOperations operations) {
  repaint_operations_ = std::move(operations);
  update();
}

QColor ChartBox::BackColor() const { return palette().color(QPalette::Window); }

void ChartBox::EnsureDrawing() {
  const qreal ratio = devicePixelRatioF();
  const QSize size = contentsRect().size();
  const QSize device_size(static_cast<int>(std::ceil(size.width() * ratio)),
                          static_cast<int>(std::ceil(size.height() * ratio)));
  if (!image_.isNull() && image_.size() == device_size &&
      qFuzzyCompare(image_.devicePixelRatio(), ratio)) {
    return;
  }
  image_ = QImage(device_size, QImage::Format_ARGB32_Premultiplied);
  image_.setDevicePixelRatio(ratio);
  image_.fill(BackColor());
}

void ChartBox::Perform(const ChartOperations& operations) {
  EnsureDrawing();
  {
    QPainter painter(&image_);
    Executor executor(*this, painter);
    for (const ChartOperation& operation : operations) std::visit(executor, operation);
  }
  update();
}

void ChartBox::Perform(const ChartOperation& operation) { Perform(ChartOperations{operation}); }

void ChartBox::paintEvent(QPaintEvent* event) {
  // A drawing made for another pixel ratio is scaled rather than dropped.
  if (image_.isNull()) EnsureDrawing();
  {
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setClipRect(area);
    painter.drawImage(QRectF(area.topLeft(), QSizeF(area.size())), image_);
    // The repaint draws over what the box shows, at the places a run draws
    // the same operations on the kept drawing.
    painter.translate(area.topLeft());
    Executor executor(*this, painter);
    for (const ChartOperation& operation : repaint_operations_) std::visit(executor, operation);
  }
  QFrame::paintEvent(event);  // the sunken border
}

}  // namespace zr
