#include "report_variants.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>

#include "chart_painter.h"
#include "number_format.h"
#include "qt_text.h"
#include "report.h"

namespace zr {

namespace {

constexpr qreal kMargin = 60;
constexpr QSizeF kChartArea(433, 249);
constexpr qreal kChartScale = 1.2;

}  // namespace

void DrawVariantsPage(QPainter& painter, const QRectF& page, const VariantsReport& report,
                      const QFont& chart_font, const NumberFormat& format) {
  const VariantsTable& table = report.table;
  const qreal width = page.width() - 2 * kMargin;
  qreal y = kMargin;
  const auto line = [&](const QString& text, const QFont& font) {
    const QFontMetricsF metrics(font, painter.device());
    painter.setFont(font);
    painter.drawText(QPointF(kMargin, y + metrics.ascent()), text);
    y += metrics.height();
  };
  line(FromUtf8(TextOf(VariantsText::kTitle)), ReportFace(15, true));
  y += 4;
  painter.setFont(ReportFace(8));
  QRectF used;
  painter.drawText(QRectF(kMargin, y, width, 200), Qt::TextWordWrap,
                   FromUtf8(TextOf(VariantsText::kMarksLegend)), &used);
  y += used.height() + 8;

  // The caption column takes a third; the variants share the rest.
  const qreal caption_width = width / 3;
  const int columns = static_cast<int>(table.names.size());
  const qreal column_width = (width - caption_width) / columns;
  const QFont cell_font = ReportFace(7.5);
  const QFont bold_font = ReportFace(7.5, true);
  const QFontMetricsF metrics(cell_font, painter.device());
  const auto rule = [&] {
    painter.save();
    painter.setPen(QPen(QColor(200, 200, 200), 0.5));
    painter.drawLine(QPointF(kMargin, y - 1), QPointF(kMargin + width, y - 1));
    painter.restore();
  };
  painter.setFont(bold_font);
  for (int c = 0; c < columns; ++c) {
    const QRectF cell(kMargin + caption_width + c * column_width, y, column_width - 6,
                      metrics.height());
    painter.drawText(cell, Qt::AlignRight,
                     metrics.elidedText(FromUtf8(table.names[static_cast<std::size_t>(c)]),
                                        Qt::ElideRight, cell.width()));
  }
  y += metrics.height() + 3;
  rule();
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    const VariantRow& row = table.rows[r];
    const bool verdict = row.kind == VariantRow::Kind::kVerdict;
    QString caption = r < static_cast<std::size_t>(report.captions.size())
                          ? report.captions[static_cast<qsizetype>(r)]
                          : FromUtf8(row.key);
    if (row.differs)
      caption = FromUtf8(TextOf(VariantsText::kDiffers)) + QLatin1Char(' ') + caption;
    qreal height = metrics.height();
    if (verdict) {
      // The sentences wrap in their columns; the row is as tall as the longest.
      for (int c = 0; c < columns; ++c) {
        const QRectF box =
            metrics.boundingRect(QRectF(0, 0, column_width - 6, 400), Qt::TextWordWrap,
                                 FromUtf8(row.cells[static_cast<std::size_t>(c)]));
        height = std::max(height, box.height());
      }
    }
    const QFont& caption_font = row.differs ? bold_font : cell_font;
    painter.setFont(caption_font);
    painter.drawText(QRectF(kMargin, y, caption_width - 6, height), Qt::AlignLeft,
                     QFontMetricsF(caption_font, painter.device())
                         .elidedText(caption, Qt::ElideRight, caption_width - 6));
    for (int c = 0; c < columns; ++c) {
      const auto i = static_cast<std::size_t>(c);
      const bool marked = !row.marked.empty() && row.marked[i];
      QString text = FromUtf8(row.cells[i]);
      if (marked) text += QLatin1Char(' ') + FromUtf8(TextOf(VariantsText::kBestBalance));
      painter.setFont(marked || row.differs ? bold_font : cell_font);
      const QRectF cell(kMargin + caption_width + c * column_width, y, column_width - 6, height);
      painter.drawText(cell, verdict ? Qt::AlignLeft | Qt::TextWordWrap : Qt::AlignRight, text);
    }
    y += height + 3;
    rule();
  }

  y += 10;
  line(FromUtf8(TextOf(VariantsText::kChartTitle)), ReportFace(11, true));
  y += 4;
  const QPointF origin((page.width() - kChartArea.width() * kChartScale) / 2, y);
  painter.save();
  painter.translate(origin);
  painter.scale(kChartScale, kChartScale);
  painter.setClipRect(QRectF(QPointF(0, 0), kChartArea));
  ChartSettings settings;
  ChartPainter chart(painter, settings, chart_font, format, Qt::white, kChartArea);
  chart.Perform(table.chart);
  painter.setClipping(false);
  painter.setPen(QPen(Qt::black, 0.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(QPointF(0, 0), kChartArea));
  painter.restore();
}

}  // namespace zr
