#include "report.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "calculation_run.h"
#include "chart_painter.h"

namespace zr {

namespace {

// The page is laid out in logical pixels of 96 per inch, like the window,
// so the chart's twips and fonts keep their proportions.
constexpr int kResolution = 96;
constexpr qreal kMargin = 60;           // about 16 mm
constexpr QSizeF kChartArea(433, 249);  // the chart box's drawing area
constexpr qreal kChartScale = 1.5;

// Lays out text lines from the top of the page down.
class PageWriter {
 public:
  PageWriter(QPainter& painter, qreal width) : painter_(painter), width_(width) {}

  void Line(const QString& text, const QFont& font, qreal space_before = 0) {
    y_ += space_before;
    const QFontMetricsF metrics(font, painter_.device());
    painter_.setFont(font);
    painter_.drawText(QPointF(kMargin, y_ + metrics.ascent()), text);
    y_ += metrics.height();
  }

  // Text that wraps at the page's width.
  void Paragraph(const QString& text, const QFont& font, qreal space_before = 0) {
    y_ += space_before;
    painter_.setFont(font);
    const QRectF area(kMargin, y_, width_, 1000);
    QRectF used;
    painter_.drawText(area, Qt::TextWordWrap, text, &used);
    y_ += used.height();
  }

  // A caption on the left and its value at the right edge, on a thin rule.
  void Row(const ReportRow& row, const QFont& font) {
    const QFontMetricsF metrics(font, painter_.device());
    painter_.setFont(font);
    const qreal value_width = metrics.horizontalAdvance(row.value);
    const qreal caption_width = width_ - value_width - 16;
    const QString caption = metrics.elidedText(row.caption, Qt::ElideRight, caption_width);
    painter_.drawText(QPointF(kMargin, y_ + metrics.ascent()), caption);
    painter_.drawText(QPointF(kMargin + width_ - value_width, y_ + metrics.ascent()), row.value);
    y_ += metrics.height() + 3;
    painter_.save();
    painter_.setPen(QPen(QColor(200, 200, 200), 0.5));
    painter_.drawLine(QPointF(kMargin, y_ - 1.5), QPointF(kMargin + width_, y_ - 1.5));
    painter_.restore();
  }

  qreal Y() const { return y_; }
  void Skip(qreal space) { y_ += space; }

 private:
  QPainter& painter_;
  qreal width_;
  qreal y_ = kMargin;
};

}  // namespace

QByteArray ReportPdf(const ReportContent& content) {
  // Made whole in memory, so that writing it out is one step that either
  // succeeds or leaves the old file alone.
  QByteArray pdf;
  QBuffer file(&pdf);
  file.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&file);
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    writer.setTitle(QStringLiteral("Napkollektoros rendszer megtérülése"));
    writer.setCreator(QStringLiteral("Zeltano-Redurir " ZELTANO_VERSION));

    QPainter painter;
    if (!painter.begin(&writer)) return {};
    const QRectF page(QPointF(0, 0), writer.pageLayout().paintRectPixels(kResolution).size());
    const qreal width = page.width() - 2 * kMargin;
    PageWriter out(painter, width);

    out.Line(QStringLiteral("Napkollektoros rendszer megtérülése"), ReportFace(17, true));
    QString subtitle = QStringLiteral("Zeltano-Redurir jelentés, készült: %1")
                           .arg(QLocale(QLocale::Hungarian, QLocale::Hungary)
                                    .toString(content.date, QStringLiteral("yyyy. MMMM d.")));
    out.Line(subtitle, ReportFace(9.5), 4);
    if (!content.scenario.isEmpty()) {
      out.Line(QStringLiteral("Forgatókönyv: %1").arg(content.scenario), ReportFace(9.5));
    }

    out.Line(QStringLiteral("Bemenő, felvett adatok"), ReportFace(11.5, true), 12);
    out.Skip(3);
    for (const ReportRow& row : content.inputs) out.Row(row, ReportFace(8.5));

    out.Line(QStringLiteral("Számított értékek"), ReportFace(11.5, true), 10);
    out.Skip(3);
    for (const ReportRow& row : content.results) out.Row(row, ReportFace(8.5));

    QString payback;
    if (content.fault) {
      payback = QStringLiteral("A számítás nem fejeződött be: %1").arg(*content.fault);
    } else if (content.payback == QString::fromUtf8(kNoPaybackText)) {
      payback = QStringLiteral(
          "Megtérülési idő: nincs (a megtakarítás 100 év alatt sem éri el a költséget)");
    } else {
      payback = QStringLiteral("Megtérülési idő: %1 év").arg(content.payback);
    }
    out.Line(payback, ReportFace(12, true), 10);
    if (!content.verdict.isEmpty()) out.Paragraph(content.verdict, ReportFace(10), 2);
    if (content.avoided_co2) out.Paragraph(*content.avoided_co2, ReportFace(8.5), 2);

    out.Line(QStringLiteral("Költség és haszon a vizsgált időszak hosszának függvényében"),
             ReportFace(11.5, true), 10);
    out.Skip(6);
    const QPointF chart_origin((page.width() - kChartArea.width() * kChartScale) / 2, out.Y());
    painter.save();
    painter.translate(chart_origin);
    painter.scale(kChartScale, kChartScale);
    painter.setClipRect(QRectF(QPointF(0, 0), kChartArea));
    ChartSettings settings;
    ChartPainter chart(painter, settings, content.chart_font, content.format, Qt::white,
                       kChartArea);
    chart.Perform(ChartOperations{Cls{}});
    chart.Perform(content.chart);
    painter.setClipping(false);
    painter.setPen(QPen(Qt::black, 0.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(QPointF(0, 0), kChartArea));
    painter.restore();

    painter.setFont(ReportFace(7.5));
    painter.setPen(QColor(90, 90, 90));
    painter.drawText(
        QPointF(kMargin, page.height() - kMargin / 2),
        QStringLiteral("Zeltano-Redurir " ZELTANO_VERSION " – szabad szoftver (GPL-3.0-or-later)"));
    if (content.risk && writer.newPage()) DrawRiskPage(painter, page, kMargin, *content.risk);
    if (content.variants) {
      writer.newPage();
      DrawVariantsPage(painter, page, *content.variants, content.chart_font, content.format);
    }
    if (!painter.end()) return {};
  }
  return pdf;
}

QFont ReportFace(qreal points, bool bold) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

}  // namespace zr
