#include "chart_box.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "focus_frame.h"

namespace zr {

ChartBox::ChartBox(QWidget* parent) : QFrame(parent) { setFocusPolicy(Qt::StrongFocus); }

void ChartBox::SetRepaintOperations(ChartOperations operations) {
  repaint_operations_ = std::move(operations);
  update();
}

QColor ChartBox::BackColor() const { return palette().color(QPalette::Window); }

void ChartBox::SetScale(qreal scale) {
  if (scale_ == 1) chart_font_ = font();
  scale_ = scale;
  image_ = QImage();
  intact_texts_.clear();
  update();
}

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
  intact_texts_.clear();
}

void ChartBox::Perform(const ChartOperations& operations) {
  EnsureDrawing();
  {
    QPainter painter(&image_);
    painter.scale(scale_, scale_);
    ChartPainter chart(painter, settings_, ChartFont(), format_, BackColor(),
                       QSizeF(contentsRect().size()) / scale_);
    chart.on_drawn = [this](const QRectF& covered, const PrintedText* printed) {
      // Neighbouring texts (the legend's words) may touch; only a line or a
      // clear spoils a text for the repaint.
      if (printed != nullptr) {
        intact_texts_.push_back(*printed);
        return;
      }
      std::erase_if(intact_texts_,
                    [&](const PrintedText& kept) { return kept.bounds.intersects(covered); });
    };
    chart.Perform(operations);
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
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(scale_, scale_);
    ChartPainter chart(painter, settings_, ChartFont(), format_, BackColor(),
                       QSizeF(area.size()) / scale_);
    chart.print_wanted = [this](const PrintedText& text) {
      return std::none_of(intact_texts_.begin(), intact_texts_.end(),
                          [&](const PrintedText& kept) { return kept.SameLook(text); });
    };
    chart.Perform(repaint_operations_);
    painter.restore();
    DrawFocusFrame(*this, painter);
  }
  QFrame::paintEvent(event);  // the sunken border
}

void ChartBox::focusInEvent(QFocusEvent* event) {
  QFrame::focusInEvent(event);
  update();
}

void ChartBox::focusOutEvent(QFocusEvent* event) {
  QFrame::focusOutEvent(event);
  update();
}

}  // namespace zr
