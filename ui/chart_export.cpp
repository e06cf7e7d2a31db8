#include "chart_export.h"

#include <QBuffer>
#include <QLabel>
#include <QPainter>
#include <QSvgGenerator>

#include "chart_box.h"
#include "chart_painter.h"

namespace zr {

QByteArray ChartPng(ChartBox& box) {
  QByteArray png;
  QBuffer file(&png);
  file.open(QIODevice::WriteOnly);
  return box.grab().save(&file, "PNG") ? png : QByteArray();
}

QByteArray ChartSvg(const ChartBox& box, const ChartOperations& operations) {
  QByteArray svg_bytes;
  QBuffer file(&svg_bytes);
  file.open(QIODevice::WriteOnly);
  const QRect area = box.contentsRect();
  {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(area.size());
    svg.setViewBox(QRect(QPoint(0, 0), area.size()));
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("Költség és haszon a vizsgált időszak hosszának függvényében"));
    QPainter painter;
    if (!painter.begin(&svg)) return {};
    painter.setClipRect(QRect(QPoint(0, 0), area.size()));
    painter.save();
    painter.scale(box.Scale(), box.Scale());
    ChartSettings settings;
    ChartPainter chart(painter, settings, box.ChartFont(), box.Format(), box.BackColor(),
                       QSizeF(area.size()) / box.Scale());
    chart.Perform(ChartOperations{Cls{}});
    chart.Perform(operations);
    painter.restore();
    // The payback caption and figure stand above the drawing, as on screen.
    for (const QLabel* label : box.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
      painter.setFont(label->font());
      painter.setPen(label->palette().color(QPalette::WindowText));
      painter.drawText(QRectF(label->geometry().translated(-area.topLeft())), label->alignment(),
                       label->text());
    }
    if (!painter.end()) return {};
  }
  return svg_bytes;
}

}  // namespace zr
