#include "risk_report.h"

#include <QFontMetricsF>
#include <QPainter>
#include <array>

#include "qt_text.h"
#include "report.h"
#include "risk_histogram.h"

namespace zr {

namespace {

QString Text(RiskText id) { return FromUtf8(TextOf(id)); }

// Texts in columns: the first from the left edge, the others right-aligned
// at their column's right end (fractions of the width).
class Columns {
 public:
  Columns(QPainter& painter, qreal left, qreal width, std::vector<qreal> ends)
      : painter_(painter), left_(left), width_(width), ends_(std::move(ends)) {}

  qreal Row(qreal y, const std::vector<QString>& cells, const QFont& font, bool rule) {
    const QFontMetricsF fm(font, painter_.device());
    painter_.setFont(font);
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i == 0) {
        painter_.drawText(QPointF(left_, y + fm.ascent()), cells[0]);
      } else {
        const qreal right = left_ + ends_[i - 1] * width_;
        painter_.drawText(QPointF(right - fm.horizontalAdvance(cells[i]), y + fm.ascent()),
                          cells[i]);
      }
    }
    y += fm.height() + 3;
    if (rule) {
      painter_.save();
      painter_.setPen(QPen(QColor(200, 200, 200), 0.5));
      painter_.drawLine(QPointF(left_, y - 1.5), QPointF(left_ + width_, y - 1.5));
      painter_.restore();
    }
    return y;
  }

 private:
  QPainter& painter_;
  qreal left_;
  qreal width_;
  std::vector<qreal> ends_;
};

}  // namespace

void DrawRiskPage(QPainter& painter, const QRectF& page, qreal margin, const RiskReport& risk) {
  const qreal left = margin;
  const qreal width = page.width() - 2 * margin;
  qreal y = margin;
  const auto line = [&](const QString& text, const QFont& font, qreal before = 0) {
    y += before;
    const QFontMetricsF fm(font, painter.device());
    painter.setFont(font);
    painter.drawText(QPointF(left, y + fm.ascent()), text);
    y += fm.height();
  };
  const auto paragraph = [&](const QString& text, const QFont& font, qreal before = 0) {
    y += before;
    painter.setFont(font);
    QRectF used;
    painter.drawText(QRectF(left, y, width, 1000), Qt::TextWordWrap, text, &used);
    y += used.height();
  };

  painter.setPen(Qt::black);
  line(QStringLiteral("Mennyire biztos a megtérülés? – %1").arg(Text(RiskText::kTitle)),
       ReportFace(15, true));
  paragraph(risk.status, ReportFace(9.5), 4);

  line(QStringLiteral("Tartományok (háromszögeloszlás)"), ReportFace(11.5, true), 12);
  y += 3;
  Columns ranges(painter, left, width, {0.62, 0.78, 0.88, 1.0});
  y = ranges.Row(
      y,
      {Text(RiskText::kColumnInput), Text(RiskText::kColumnLow), Text(RiskText::kColumnMode),
       Text(RiskText::kColumnHigh), Text(RiskText::kColumnUnit)},
      ReportFace(8.5, true), true);
  for (const RiskReportRange& r : risk.ranges) {
    const QFontMetricsF fm(ReportFace(8.5), painter.device());
    const QString caption = fm.elidedText(r.caption, Qt::ElideRight, width * 0.48);
    y = ranges.Row(y, {caption, r.low, r.mode, r.high, r.unit}, ReportFace(8.5), true);
  }

  line(QStringLiteral("Eredmények"), ReportFace(11.5, true), 10);
  y += 3;
  Columns two(painter, left, width, {1.0});
  y = two.Row(y, {Text(RiskText::kShareCaption), FromUtf8(risk.figures.share)},
              ReportFace(9.5, true), true);
  Columns figures(painter, left, width, {0.6, 0.8, 1.0});
  y = figures.Row(y, {QString(), Text(RiskText::kP10), Text(RiskText::kP50), Text(RiskText::kP90)},
                  ReportFace(8.5, true), true);
  const auto three = [](const std::array<std::string, 3>& texts) {
    return std::vector<QString>{FromUtf8(texts[0]), FromUtf8(texts[1]), FromUtf8(texts[2])};
  };
  std::vector<QString> payback{Text(RiskText::kPaybackRow)};
  for (const QString& t : three(risk.figures.payback)) payback.push_back(t);
  y = figures.Row(y, payback, ReportFace(8.5), true);
  std::vector<QString> balance{Text(RiskText::kBalanceRow)};
  for (const QString& t : three(risk.figures.balance)) balance.push_back(t);
  y = figures.Row(y, balance, ReportFace(8.5), true);
  y = two.Row(y,
              {Text(RiskText::kFaultsCaption) + u' ' + Text(RiskText::kFaultsNote),
               FromUtf8(risk.figures.faults)},
              ReportFace(8.5), true);
  paragraph(FromUtf8(risk.figures.summary), ReportFace(10), 6);

  line(Text(RiskText::kHistogramTitle), ReportFace(11.5, true), 12);
  y += 4;
  const QRectF chart(left, y, width, std::min<qreal>(330, page.height() - margin - y - 20));
  painter.save();
  painter.setPen(QPen(Qt::black, 0.5));
  painter.drawRect(chart);
  painter.restore();
  PaintRiskHistogram(painter, chart, ReportFace(8), risk.histogram, QString());

  painter.setFont(ReportFace(7.5));
  painter.setPen(QColor(90, 90, 90));
  painter.drawText(
      QPointF(margin, page.height() - margin / 2),
      QStringLiteral("Zeltano-Redurir " ZELTANO_VERSION " – szabad szoftver (GPL-3.0-or-later)"));
}

}  // namespace zr
