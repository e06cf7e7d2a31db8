#include "chart_export.h"

#include <QLabel>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "chart_box.h"
#include "chart_painter.h"

namespace zr {

bool SaveChartPng(ChartBox& box, const QString& path) {
  QSaveFile file(path);
  return file.open(QIODevice::WriteOnly) && box.grab().save(&file, "PNG") && file.commit();
}

bool SaveChartSvg(const ChartBox& box, const ChartOperations& operations, const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const QRect area = box.contentsRect();
  {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(area.size());
    svg.setViewBox(QRect(QPoint(0, 0), area.size()));
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("Költség és haszon a vizsgált időszak hosszának függvényében"));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    painter.setClipRect(QRect(QPoint(0, 0), area.size()));
    ChartSettings settings;
    ChartPainter chart(painter, settings, box.font(), box.Format(), box.BackColor(), area.size());
    chart.Perform(ChartOperations{Cls{}});
    chart.Perform(operations);
    // The payback caption and figure stand above the drawing, as on screen.
    for (const QLabel* label : box.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
      painter.setFont(label->font());
      painter.setPen(label->palette().color(QPalette::WindowText));
      painter.drawText(QRectF(label->geometry().translated(-area.topLeft())), label->alignment(),
                       label->text());
    }
    if (!painter.end()) return false;
  }
  return file.commit();
}

}  // namespace zr
