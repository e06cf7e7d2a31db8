#include "picture_box.h"

#include <QPainter>

namespace zr {

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
  // Panels are stops of the tab order, like the other picture boxes.
  setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::SetPicture(SvgPicture picture) {
  picture_ = std::move(picture);
  update();
}

void PictureBox::paintEvent(QPaintEvent* event) {
  if (!picture_.IsNull()) {
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setClipRect(area);
    picture_.Draw(painter, area.topLeft(), devicePixelRatioF());
  }
  QFrame::paintEvent(event);  // the border goes over the picture's edge
}

}  // namespace zr
