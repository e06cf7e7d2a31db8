#include "svg_picture.h"

#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

namespace zr {
namespace {

// Renders `path` at its own size in logical pixels for the given ratio,
// transparent where the picture is; null when the file cannot be read.
QPixmap RenderSvg(const QString& path, qreal device_pixel_ratio) {
  QSvgRenderer renderer(path);
  const QSize size = renderer.defaultSize();
  if (!renderer.isValid() || size.isEmpty()) return {};
  const QSize device_size(static_cast<int>(std::ceil(size.width() * device_pixel_ratio)),
                          static_cast<int>(std::ceil(size.height() * device_pixel_ratio)));
  QPixmap pixmap(device_size);
  pixmap.fill(Qt::transparent);
  {
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(device_size)));
  }
  pixmap.setDevicePixelRatio(device_pixel_ratio);
  return pixmap;
}

}  // namespace

void SvgPicture::Draw(QPainter& painter, const QPoint& at, qreal device_pixel_ratio,
                      qreal scale) const {
  if (IsNull()) return;
  if (cache_.isNull() || !qFuzzyCompare(cache_.devicePixelRatio(), device_pixel_ratio) ||
      !qFuzzyCompare(cache_scale_, scale)) {
    // Rendered for the ratio times the scale, shown at the ratio: `scale`
    // times the picture's size, still one rendered pixel per device pixel.
    cache_ = RenderSvg(path_, device_pixel_ratio * scale);
    if (!cache_.isNull()) cache_.setDevicePixelRatio(device_pixel_ratio);
    cache_scale_ = scale;
  }
  if (!cache_.isNull()) painter.drawPixmap(at, cache_);
}

}  // namespace zr
