#pragma once
// A picture drawn at its own size in logical pixels (times the form's scale
// where the window is laid out smaller), rendered from SVG at the device
// pixel ratio so that it stays sharp on high-DPI screens.

#include <QPixmap>
#include <QString>

class QPainter;
class QPoint;

namespace zr {

class SvgPicture {
 public:
  SvgPicture() = default;
  explicit SvgPicture(QString path) : path_(std::move(path)) {}

  bool IsNull() const { return path_.isEmpty(); }
  // Draws the picture with its top-left corner at `at`, `scale` times its
  // own size; the painter's clip cuts off what lies outside the target.
  void Draw(QPainter& painter, const QPoint& at, qreal device_pixel_ratio, qreal scale = 1) const;

 private:
  QString path_;
  mutable QPixmap cache_;  // rendered at the ratio and scale of the last draw
  mutable qreal cache_scale_ = 1;
};

}  // namespace zr
