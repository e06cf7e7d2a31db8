#include "picture_box.h"

#include <QPainter>

#include "focus_frame.h"

namespace zr {

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
  // Panels are stops of the tab order, like the other picture boxes.
  setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::SetPicture(SvgPicture picture) {
  picture_ = std::move(picture);
  update();
}

void PictureBox::SetScale(qreal scale) {
  scale_ = scale;
  update();
}

void PictureBox::paintEvent(QPaintEvent* event) {
  {
    QPainter painter(this);
    if (!picture_.IsNull()) {
      const QRect area = contentsRect();
      painter.setClipRect(area);
      picture_.Draw(painter, area.topLeft(), devicePixelRatioF(), scale_);
    }
    DrawFocusFrame(*this, painter);
  }
  QFrame::paintEvent(event);  // the border goes over the picture's edge
}

void PictureBox::focusInEvent(QFocusEvent* event) {
  QFrame::focusInEvent(event);
  update();
}

void PictureBox::focusOutEvent(QFocusEvent* event) {
  QFrame::focusOutEvent(event);
  update();
}

}  // namespace zr
