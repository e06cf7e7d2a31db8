#pragma once
// A panel with its own back colour (the palette's Window role) that holds
// child controls and may show a picture unscaled at its top-left corner.

#include <QFrame>

#include "svg_picture.h"

namespace zr {

class PictureBox : public QFrame {
  Q_OBJECT

 public:
  explicit PictureBox(QWidget* parent = nullptr);

  void SetPicture(SvgPicture picture);
  // The picture at `scale` times its size, as the form is laid out.
  void SetScale(qreal scale);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  SvgPicture picture_;
  qreal scale_ = 1;
};

}  // namespace zr
