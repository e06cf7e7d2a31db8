#include "tornado_chart.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "chart_operation.h"
#include "qt_text.h"

namespace zr {

namespace {

// The chart's geometry: pixels, or lines of the font where a name says so.
constexpr int kMargin = 8;               // round the whole chart
constexpr int kSwatchInset = 2;          // a legend swatch: a line's square less this all round
constexpr int kLegendSpacingLines = 2;   // after each coloured legend entry
constexpr int kDashSampleGap = 4;        // after the sample of the dashed base line
constexpr int kLegendLines = 2;          // the legend and the space below it
constexpr int kCaptionGap = 8;           // right of the widest caption
constexpr int kCaptionsMaxPercent = 45;  // of the chart's width, at most
constexpr int kEndTextPadding = 8;       // round the widest end text's room
constexpr int kBandPadding = 24;         // beside the band's label
constexpr int kBandGap = 8;              // between the scale's end and the band
constexpr int kBelowAxisLines = 2;       // the tick labels and the axis title
constexpr int kBelowAxisGap = 4;         // and this much below them
constexpr int kTickLength = 4;
constexpr int kTickLabelGap = 5;     // from the axis down to the tick labels
constexpr int kTickLabelWidth = 80;  // centred on the tick
constexpr int kBarPercentOfRow = 60;
constexpr int kThinnestBar = 4;    // in height
constexpr int kEndTextGap = 4;     // between a bar's end and its text
constexpr int kBaseOverhang = 2;   // the dashed base line above the first row
constexpr int kBaselineNudge = 1;  // an end text's baseline, above the row's middle
const QColor kGridColor(220, 220, 220);
const QColor kBandColor(240, 240, 240);

QString Text(AnalysisText id) { return FromUtf8(TextOf(id)); }
QColor ToQColor(Color c) { return QColor(c.red, c.green, c.blue); }

// Where the parts of the chart go, for one size and font.
struct Layout {
  QRect area;             // inside the margin
  int line = 0;           // the font's line height
  int caption_width = 0;  // the captions' column with its gap
  int band_width = 0;     // 0 without the band
  int plot_left = 0;      // the time scale, left to right
  int plot_right = 0;
  int top = 0;  // the first row's top
  int axis_y = 0;
  int row = 0;  // a row's height
  int bar_height = 0;

  int BandLeft() const { return plot_right + kBandGap; }

  int X(const TornadoPlace& place) const {
    switch (place.kind) {
      case TornadoPlace::Kind::kTime:
        return plot_left + static_cast<int>(std::lround(place.at * (plot_right - plot_left)));
      case TornadoPlace::Kind::kBand:
        return BandLeft() + band_width / 2;
      case TornadoPlace::Kind::kNowhere:
        break;
    }
    return plot_left;
  }
};

Layout LayoutOf(const QRect& rect, const QFontMetrics& fm, const Tornado& t,
                const InputCaptions& captions) {
  Layout l;
  l.area = rect.adjusted(kMargin, kMargin, -kMargin, -kMargin);
  l.line = fm.height();
  for (const TornadoBar& bar : t.bars) {
    l.caption_width =
        std::max(l.caption_width, fm.horizontalAdvance(captions[Index(bar.field)].text));
  }
  l.caption_width =
      std::min(l.caption_width + kCaptionGap, l.area.width() * kCaptionsMaxPercent / 100);
  l.band_width = t.band ? fm.horizontalAdvance(FromUtf8(*t.band)) + kBandPadding : 0;
  // Room for the end texts on either side of the bars; the band takes the
  // right one's place.
  const int text_room = fm.horizontalAdvance(Text(AnalysisText::kOutOfRange)) + kEndTextPadding;
  l.plot_left = l.area.left() + l.caption_width + text_room;
  l.plot_right = l.area.right() - l.band_width - (t.band ? 0 : text_room);
  l.top = l.area.top() + kLegendLines * l.line;
  l.axis_y = l.area.bottom() - kBelowAxisLines * l.line - kBelowAxisGap;
  l.row = std::max(1, (l.axis_y - l.top) / static_cast<int>(t.bars.size()));
  l.bar_height = std::max(kThinnestBar, l.row * kBarPercentOfRow / 100);
  return l;
}

// Two coloured swatches and the dashed base line, each with its words.
void DrawLegend(QPainter& painter, const QFontMetrics& fm, const Layout& l, const Tornado& t,
                const QColor& minus_color, const QColor& plus_color) {
  int x = l.area.left();
  const int y = l.area.top();
  const int swatch = l.line - 2 * kSwatchInset;
  for (const auto& [color, text] : {std::pair{minus_color, Text(AnalysisText::kLegendMinus)},
                                    std::pair{plus_color, Text(AnalysisText::kLegendPlus)}}) {
    painter.fillRect(QRect(x, y + kSwatchInset, swatch, swatch), color);
    x += l.line;
    painter.drawText(QPoint(x, y + fm.ascent()), text);
    x += fm.horizontalAdvance(text) + kLegendSpacingLines * l.line;
  }
  painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
  painter.drawLine(x, y + l.line / 2, x + l.line, y + l.line / 2);
  painter.setPen(Qt::black);
  x += l.line + kDashSampleGap;
  painter.drawText(QPoint(x, y + fm.ascent()),
                   Text(AnalysisText::kLegendBase) + u' ' + FromUtf8(t.base_text));
}

// The axis with its ticks and grid, the no-payback band and the axis title.
void DrawAxis(QPainter& painter, const Layout& l, const Tornado& t) {
  painter.setPen(Qt::black);
  painter.drawLine(l.plot_left, l.axis_y, l.plot_right, l.axis_y);
  const int label_top = l.axis_y + kTickLabelGap;
  for (const TornadoTick& tick : t.ticks) {
    const int x = l.X({TornadoPlace::Kind::kTime, tick.at});
    painter.drawLine(x, l.axis_y, x, l.axis_y + kTickLength);
    painter.setPen(kGridColor);
    painter.drawLine(x, l.top, x, l.axis_y - 1);
    painter.setPen(Qt::black);
    painter.drawText(QRect(x - kTickLabelWidth / 2, label_top, kTickLabelWidth, l.line),
                     Qt::AlignHCenter | Qt::AlignTop, FromUtf8(tick.text));
  }
  if (t.band) {
    painter.fillRect(QRect(l.BandLeft(), l.top, l.band_width, l.axis_y - l.top), kBandColor);
    painter.drawText(QRect(l.BandLeft(), label_top, l.band_width, l.line),
                     Qt::AlignHCenter | Qt::AlignTop, FromUtf8(*t.band));
  }
  painter.drawText(QRect(l.plot_left, label_top + l.line, l.plot_right - l.plot_left, l.line),
                   Qt::AlignRight | Qt::AlignTop, Text(AnalysisText::kAxisTitle));
}

// One end's bar from the anchor, and its text beside it.
void DrawEnd(QPainter& painter, const QFontMetrics& fm, const Layout& l, int row_top,
             const TornadoBar& bar, bool minus, const QColor& color) {
  const TornadoEnd& end = minus ? bar.minus : bar.plus;
  const TornadoEnd& other = minus ? bar.plus : bar.minus;
  const int anchor = l.X(bar.anchor);
  const bool placed = end.place.kind != TornadoPlace::Kind::kNowhere;
  const int edge = placed ? l.X(end.place) : anchor;
  if (placed) {
    const int bar_top = row_top + (l.row - l.bar_height) / 2;
    const QRect r(std::min(anchor, edge), bar_top, std::max(1, std::abs(edge - anchor)),
                  l.bar_height);
    painter.fillRect(r, color);
    if (end.place.kind == TornadoPlace::Kind::kBand) {
      painter.fillRect(r, QBrush(Qt::white, Qt::BDiagPattern));
      return;  // the band says it in words
    }
  }
  // A text at the anchor (no bar, or a bar of no length) stands on the side
  // away from the other end; the lowered input's on the left when both ends
  // are there.
  bool right = edge > anchor;
  if (edge == anchor) {
    const int other_edge =
        other.place.kind != TornadoPlace::Kind::kNowhere ? l.X(other.place) : anchor;
    right = other_edge != anchor ? other_edge < anchor : !minus;
  }
  QString text = FromUtf8(end.text);
  if (end.kind != TornadoEnd::Kind::kOutOfRange && std::abs(end.percent) != 20) {
    text += QStringLiteral(" (%1)").arg(FromUtf8(end.percent_text));
  }
  painter.setPen(placed ? Qt::black : Qt::darkGray);
  const int x = right ? edge + kEndTextGap : edge - kEndTextGap - fm.horizontalAdvance(text);
  painter.drawText(QPoint(x, row_top + l.row / 2 + fm.ascent() / 2 - kBaselineNudge), text);
}

}  // namespace

TornadoChart::TornadoChart(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
}

void TornadoChart::SetCaptions(InputCaptions captions) {
  captions_ = std::move(captions);
  update();
}

void TornadoChart::SetTornado(Tornado tornado) {
  tornado_ = std::move(tornado);
  message_.clear();
  update();
}

void TornadoChart::ShowMessage(const QString& message) {
  tornado_ = {};
  message_ = message;
  update();
}

QSize TornadoChart::sizeHint() const { return {860, 460}; }
QSize TornadoChart::minimumSizeHint() const { return {480, 300}; }

void TornadoChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  const QFontMetrics fm(font());
  if (tornado_.bars.empty()) {
    painter.drawText(rect().adjusted(kMargin, kMargin, -kMargin, -kMargin), Qt::AlignCenter,
                     message_);
    return;
  }
  const Layout l = LayoutOf(rect(), fm, tornado_, captions_);
  const QColor minus_color = ToQColor(kCostColor);
  const QColor plus_color = ToQColor(kSavingsColor);

  DrawLegend(painter, fm, l, tornado_, minus_color, plus_color);
  DrawAxis(painter, l, tornado_);
  const int caption_room = l.caption_width - kCaptionGap;
  for (std::size_t i = 0; i < tornado_.bars.size(); ++i) {
    const TornadoBar& bar = tornado_.bars[i];
    const int row_top = l.top + static_cast<int>(i) * l.row;
    painter.setPen(Qt::black);
    painter.drawText(QRect(l.area.left(), row_top, caption_room, l.row),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     fm.elidedText(captions_[Index(bar.field)].text, Qt::ElideRight, caption_room));
    DrawEnd(painter, fm, l, row_top, bar, true, minus_color);
    DrawEnd(painter, fm, l, row_top, bar, false, plus_color);
  }
  if (tornado_.base.kind != TornadoPlace::Kind::kNowhere) {
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    const int x = l.X(tornado_.base);
    painter.drawLine(x, l.top - kBaseOverhang, x, l.axis_y);
  }
}

}  // namespace zr
