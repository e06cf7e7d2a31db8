#include "risk_histogram.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <utility>
#include <vector>

#include "qt_text.h"

namespace zr {

namespace {

constexpr qreal kMargin = 8;
constexpr qreal kTickLength = 4;
constexpr qreal kGap = 6;            // between texts and what they label
constexpr qreal kSwatchInset = 2;    // a legend swatch: a line's square less this all round
constexpr qreal kLegendSpacing = 2;  // lines after each legend entry
const QColor kGridColor(220, 220, 220);

QString Text(RiskText id) { return FromUtf8(TextOf(id)); }
QColor ToQColor(Color c) { return QColor(c.red, c.green, c.blue); }

QColor ColorOf(RiskBar::Kind kind) {
  switch (kind) {
    case RiskBar::Kind::kWithin:
      return ToQColor(kWithinColor);
    case RiskBar::Kind::kBeyond:
      return ToQColor(kBeyondColor);
    case RiskBar::Kind::kNone:
      break;
  }
  return ToQColor(kNoneColor);
}

}  // namespace

void PaintRiskHistogram(QPainter& painter, const QRectF& rect, const QFont& font,
                        const RiskHistogram& h, const QString& message) {
  painter.save();
  painter.setFont(font);
  painter.setRenderHint(QPainter::Antialiasing, false);
  const QFontMetricsF fm(font, painter.device());
  const QRectF area = rect.adjusted(kMargin, kMargin, -kMargin, -kMargin);
  painter.setPen(Qt::black);
  if (h.bars.empty()) {
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, message);
    painter.restore();
    return;
  }
  const qreal line = fm.height();

  // The legend: the kinds of bar shown.
  std::vector<std::pair<QColor, QString>> legend;
  const auto shown = [&](RiskBar::Kind kind) {
    return std::any_of(h.bars.begin(), h.bars.end(),
                       [&](const RiskBar& b) { return b.kind == kind; });
  };
  if (shown(RiskBar::Kind::kWithin)) {
    legend.emplace_back(ColorOf(RiskBar::Kind::kWithin), Text(RiskText::kLegendWithin));
  }
  if (shown(RiskBar::Kind::kBeyond)) {
    legend.emplace_back(ColorOf(RiskBar::Kind::kBeyond), Text(RiskText::kLegendBeyond));
  }
  legend.emplace_back(ColorOf(RiskBar::Kind::kNone), Text(RiskText::kLegendNone));
  qreal x = area.left();
  qreal y = area.top();
  for (const auto& [color, words] : legend) {
    const qreal width = line + fm.horizontalAdvance(words);
    if (x > area.left() && x + width > area.right()) {
      x = area.left();
      y += line;
    }
    painter.fillRect(QRectF(x + kSwatchInset, y + kSwatchInset, line - 2 * kSwatchInset,
                            line - 2 * kSwatchInset),
                     color);
    painter.drawText(QPointF(x + line, y + fm.ascent()), words);
    x += width + kLegendSpacing * line;
  }
  y += line * 1.5;

  // The count scale's title above it, its labels left of it.
  painter.drawText(QPointF(area.left(), y + fm.ascent()), Text(RiskText::kAxisRuns));
  y += line + kGap;
  qreal label_width = 0;
  for (const RiskTick& tick : h.run_ticks) {
    label_width = std::max(label_width, fm.horizontalAdvance(FromUtf8(tick.text)));
  }
  const qreal plot_left = area.left() + label_width + kGap + kTickLength;
  const qreal plot_right = area.right() - kGap;
  const qreal plot_top = y + line / 2;
  const qreal axis_y = area.bottom() - 2 * line - kGap;
  const qreal width = plot_right - plot_left;
  const qreal height = std::max<qreal>(1, axis_y - plot_top);
  const auto at_x = [&](double at) { return plot_left + at * width; };
  const auto at_y = [&](double at) { return axis_y - at * height; };

  for (const RiskTick& tick : h.run_ticks) {
    const qreal ty = at_y(tick.at);
    painter.setPen(kGridColor);
    if (tick.at > 0) painter.drawLine(QPointF(plot_left, ty), QPointF(plot_right, ty));
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(plot_left - kTickLength, ty), QPointF(plot_left, ty));
    const QString text = FromUtf8(tick.text);
    painter.drawText(QPointF(plot_left - kTickLength - kGap / 2 - fm.horizontalAdvance(text),
                             ty - line / 2 + fm.ascent()),
                     text);
  }

  for (const RiskBar& bar : h.bars) {
    const QRectF r(QPointF(at_x(bar.left), at_y(bar.height)), QPointF(at_x(bar.right), axis_y));
    painter.fillRect(r, ColorOf(bar.kind));
    if (bar.runs > 0) {
      painter.setPen(QPen(QColor(80, 80, 80), 0));
      painter.drawRect(r);
    }
  }

  painter.setPen(Qt::black);
  painter.drawLine(QPointF(plot_left, axis_y), QPointF(plot_right, axis_y));
  painter.drawLine(QPointF(plot_left, axis_y), QPointF(plot_left, plot_top));
  // The last label ("nincs") always stands; a year label that would overlap
  // the one before it, or "nincs", is left out.
  const auto span = [&](const RiskTick& tick) {
    const qreal width = fm.horizontalAdvance(FromUtf8(tick.text));
    const qreal centre =
        std::clamp(at_x(tick.at), rect.left() + width / 2, rect.right() - width / 2);
    return std::pair{centre - width / 2, centre + width / 2};
  };
  const qreal none_start = h.year_ticks.empty() ? rect.right() : span(h.year_ticks.back()).first;
  qreal last_end = rect.left() - 1000;
  for (std::size_t i = 0; i < h.year_ticks.size(); ++i) {
    const RiskTick& tick = h.year_ticks[i];
    const bool none = i + 1 == h.year_ticks.size();
    const QString text = FromUtf8(tick.text);
    if (!none) {
      const qreal tx = at_x(tick.at);
      painter.drawLine(QPointF(tx, axis_y), QPointF(tx, axis_y + kTickLength));
    }
    const auto [start, end] = span(tick);
    if (!none && (start < last_end + kGap || end > none_start - kGap)) continue;
    last_end = end;
    painter.drawText(QPointF(start, axis_y + kTickLength + fm.ascent()), text);
  }
  const QString title = Text(RiskText::kAxisYears);
  painter.drawText(QPointF(plot_left + (width - fm.horizontalAdvance(title)) / 2,
                           axis_y + kTickLength + line + fm.ascent()),
                   title);

  if (h.period) {
    const qreal px = at_x(h.period->at);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawLine(QPointF(px, plot_top), QPointF(px, axis_y));
    painter.setPen(Qt::black);
    const QString text = FromUtf8(h.period->text);
    const qreal text_width = fm.horizontalAdvance(text);
    const qreal tx = px + kGap + text_width <= plot_right ? px + kGap : px - kGap - text_width;
    // On a white backing, so the bars never hide it.
    const QRectF back(tx - 2, plot_top - line / 2, text_width + 4, line);
    painter.fillRect(back, QColor(255, 255, 255, 220));
    painter.drawText(QPointF(tx, plot_top - line / 2 + fm.ascent()), text);
  }
  painter.restore();
}

RiskHistogramChart::RiskHistogramChart(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
}

void RiskHistogramChart::SetHistogram(RiskHistogram histogram) {
  histogram_ = std::move(histogram);
  message_.clear();
  setAccessibleDescription(FromUtf8(histogram_.description));
  update();
}

void RiskHistogramChart::ShowMessage(const QString& message) {
  histogram_ = {};
  message_ = message;
  setAccessibleDescription(message);
  update();
}

QSize RiskHistogramChart::sizeHint() const { return {640, 300}; }
QSize RiskHistogramChart::minimumSizeHint() const { return {360, 220}; }

void RiskHistogramChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintRiskHistogram(painter, QRectF(rect()), font(), histogram_, message_);
}

}  // namespace zr
