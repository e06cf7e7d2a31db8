#include "focus_frame.h"

#include <QPainter>
#include <QPen>
#include <QWidget>

namespace zr {

void DrawFocusFrame(const QWidget& widget, QPainter& painter) {
  if (!widget.hasFocus()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setClipping(false);
  // Black and white dots: visible on the yellow panels, the grey chart box
  // and the banner alike.
  const QRect frame = widget.contentsRect().adjusted(1, 1, -2, -2);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::white, 1, Qt::SolidLine));
  painter.drawRect(frame);
  painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
  painter.drawRect(frame);
  painter.restore();
}

}  // namespace zr
