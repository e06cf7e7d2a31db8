#include "tornado_chart.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

#include "calculation_run.h"
#include "chart_operation.h"
#include "number_text.h"

namespace zr {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

const QString kOutOfRangeText = QStringLiteral("tartományon kívül");
const QString kFaultText = QStringLiteral("nem számítható");

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

// "−20 %": the sign as the guide prints it.
QString PercentText(int percent) {
  return (percent < 0 ? QStringLiteral("\u2212") : QStringLiteral("+")) +
         QString::number(std::abs(percent)) + QStringLiteral(" %");
}

TornadoEnd EndOf(const SensitivityCase& c, const NumberFormat& format) {
  TornadoEnd end;
  end.percent = c.percent;
  if (c.out_of_range) {
    end.kind = TornadoEnd::Kind::kOutOfRange;
    end.text = kOutOfRangeText;
  } else if (!c.payback) {
    end.kind = TornadoEnd::Kind::kFault;
    end.text = kFaultText;
  } else {
    end.kind = c.payback->years ? TornadoEnd::Kind::kYears : TornadoEnd::Kind::kNoPayback;
    end.years = c.payback->years ? c.payback->years->ToDouble() : 0;
    end.text = FromUtf8(PaybackText(*c.payback, format));
  }
  return end;
}

// The ±20 % case, or the ±10 % one when ±20 % leaves the range and ±10 %
// does not.
TornadoEnd PickEnd(const SensitivityCase& outer, const SensitivityCase& inner,
                   const NumberFormat& format) {
  if (outer.out_of_range && !inner.out_of_range) return EndOf(inner, format);
  return EndOf(outer, format);
}

std::optional<double> ValueOf(const TornadoEnd& end) {
  if (end.kind == TornadoEnd::Kind::kYears) return end.years;
  if (end.kind == TornadoEnd::Kind::kNoPayback) return kInfinity;
  return std::nullopt;
}

std::optional<double> ValueOf(const TornadoBase& base) {
  if (base.years) return base.years;
  if (base.text == FromUtf8(std::string(kNoPaybackText))) return kInfinity;
  return std::nullopt;
}

double Spread(const TornadoBar& bar, const TornadoBase& base) {
  std::vector<double> values;
  for (const auto& v : {ValueOf(bar.minus), ValueOf(bar.plus), ValueOf(base)}) {
    if (v) values.push_back(*v);
  }
  if (values.empty()) return 0;
  const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
  if (std::isinf(*lo)) return 0;  // no payback either way
  return *hi - *lo;
}

// 1, 2 or 5 times a power of ten, about a fifth of the span.
double TickStep(double span) {
  if (!(span > 0)) return 1;
  const double raw = span / 5;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double m : {1.0, 2.0, 5.0}) {
    if (m * power >= raw) return m * power;
  }
  return 10 * power;
}

QColor ToQColor(Color c) { return QColor(c.red, c.green, c.blue); }

}  // namespace

TornadoBase TornadoBaseOf(const std::optional<PaybackTime>& payback, const NumberFormat& format) {
  if (!payback) return {std::nullopt, kFaultText};
  return {payback->years ? std::optional<double>(payback->years->ToDouble()) : std::nullopt,
          FromUtf8(PaybackText(*payback, format))};
}

std::vector<TornadoBar> TornadoBars(const std::vector<Sensitivity>& sensitivity,
                                    const TornadoBase& base, const NumberFormat& format) {
  static_assert(kSensitivitySteps[0] == -20 && kSensitivitySteps[1] == -10 &&
                kSensitivitySteps[2] == 10 && kSensitivitySteps[3] == 20);
  std::vector<TornadoBar> bars;
  for (const Sensitivity& s : sensitivity) {
    bars.push_back({s.field, PickEnd(s.cases[0], s.cases[1], format),
                    PickEnd(s.cases[3], s.cases[2], format)});
  }
  std::stable_sort(bars.begin(), bars.end(), [&](const TornadoBar& a, const TornadoBar& b) {
    return Spread(a, base) > Spread(b, base);
  });
  return bars;
}

TornadoChart::TornadoChart(InputCaptions captions, NumberFormat format, QWidget* parent)
    : QWidget(parent), captions_(std::move(captions)), format_(std::move(format)) {
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
}

void TornadoChart::SetBars(TornadoBase base, std::vector<TornadoBar> bars) {
  base_ = std::move(base);
  bars_ = std::move(bars);
  message_.clear();
  update();
}

void TornadoChart::ShowMessage(const QString& message) {
  bars_.clear();
  base_ = {};
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
  const int line = fm.height();
  const QRect area = rect().adjusted(8, 8, -8, -8);
  if (bars_.empty()) {
    painter.drawText(area, Qt::AlignCenter, message_);
    return;
  }

  const QColor minus_color = ToQColor(kCostColor);
  const QColor plus_color = ToQColor(kSavingsColor);

  // Legend on top.
  int x = area.left();
  const int legend_y = area.top();
  const auto swatch = [&](const QColor& color, const QString& text) {
    painter.fillRect(QRect(x, legend_y + 2, line - 4, line - 4), color);
    x += line;
    painter.drawText(QPoint(x, legend_y + fm.ascent()), text);
    x += fm.horizontalAdvance(text) + 2 * line;
  };
  swatch(minus_color, QStringLiteral("az adat %1-kal").arg(PercentText(-20)));
  swatch(plus_color, QStringLiteral("az adat %1-kal").arg(PercentText(20)));
  painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
  painter.drawLine(x, legend_y + line / 2, x + line, legend_y + line / 2);
  painter.setPen(Qt::black);
  x += line + 4;
  painter.drawText(QPoint(x, legend_y + fm.ascent()),
                   QStringLiteral("a jelenlegi megtérülési idő: %1").arg(base_.text));

  // Scale: every time shown, with a band at the right for "nincs".
  std::vector<double> times;
  bool any_none = false;
  const auto collect = [&](std::optional<double> v) {
    if (!v) return;
    if (std::isinf(*v)) {
      any_none = true;
    } else {
      times.push_back(*v);
    }
  };
  collect(ValueOf(base_));
  for (const TornadoBar& bar : bars_) {
    collect(ValueOf(bar.minus));
    collect(ValueOf(bar.plus));
  }
  double lo = times.empty() ? 0 : *std::min_element(times.begin(), times.end());
  double hi = times.empty() ? 100 : *std::max_element(times.begin(), times.end());
  const double step = TickStep(std::max(hi - lo, 0.5));
  lo = std::max(0.0, std::floor(lo / step) * step);
  hi = std::ceil(hi / step) * step;
  if (hi <= lo) hi = lo + step;

  int caption_width = 0;
  for (const TornadoBar& bar : bars_) {
    caption_width = std::max(caption_width, fm.horizontalAdvance(captions_[Index(bar.field)].text));
  }
  caption_width = std::min(caption_width + 8, area.width() * 9 / 20);
  const int none_band = any_none ? fm.horizontalAdvance(QStringLiteral("nincs")) + 24 : 0;
  // Room for the end texts on either side of the bars.
  const int text_room = fm.horizontalAdvance(kOutOfRangeText) + 8;
  const int plot_left = area.left() + caption_width + text_room;
  const int plot_right = area.right() - none_band - (any_none ? 0 : text_room);
  const int top = legend_y + 2 * line;
  const int axis_y = area.bottom() - 2 * line - 4;
  const auto X = [&](double years) {
    if (std::isinf(years)) return plot_right + none_band / 2 + 8;
    return plot_left +
           static_cast<int>(std::lround((years - lo) / (hi - lo) * (plot_right - plot_left)));
  };

  // Axis with ticks, and the band for "nincs".
  painter.setPen(Qt::black);
  painter.drawLine(plot_left, axis_y, plot_right, axis_y);
  for (double t = lo; t <= hi + step / 2; t += step) {
    const int tx = X(t);
    painter.drawLine(tx, axis_y, tx, axis_y + 4);
    painter.setPen(QColor(220, 220, 220));
    painter.drawLine(tx, top, tx, axis_y - 1);
    painter.setPen(Qt::black);
    const QString label = QString::fromStdString(RealText(t, format_));
    painter.drawText(QRect(tx - 40, axis_y + 5, 80, line), Qt::AlignHCenter | Qt::AlignTop, label);
  }
  if (any_none) {
    const int band_x = plot_right + 8;
    painter.fillRect(QRect(band_x, top, none_band, axis_y - top), QColor(240, 240, 240));
    painter.drawText(QRect(band_x, axis_y + 5, none_band, line), Qt::AlignHCenter | Qt::AlignTop,
                     QStringLiteral("nincs"));
  }
  painter.drawText(QRect(plot_left, axis_y + 5 + line, plot_right - plot_left, line),
                   Qt::AlignRight | Qt::AlignTop, QStringLiteral("Megtérülési idő [év]"));

  // The bars.
  const std::optional<double> base_value = ValueOf(base_);
  const int row = std::max(1, (axis_y - top) / static_cast<int>(bars_.size()));
  const int bar_height = std::max(4, row * 3 / 5);
  for (std::size_t i = 0; i < bars_.size(); ++i) {
    const TornadoBar& bar = bars_[i];
    const int row_top = top + static_cast<int>(i) * row;
    const int bar_top = row_top + (row - bar_height) / 2;
    const int mid = row_top + row / 2;

    const QString caption =
        fm.elidedText(captions_[Index(bar.field)].text, Qt::ElideRight, caption_width - 8);
    painter.setPen(Qt::black);
    painter.drawText(QRect(area.left(), row_top, caption_width - 8, row),
                     Qt::AlignLeft | Qt::AlignVCenter, caption);

    const std::optional<double> minus = ValueOf(bar.minus);
    const std::optional<double> plus = ValueOf(bar.plus);
    int anchor;
    if (base_value) {
      anchor = X(*base_value);
    } else if (minus && plus) {
      anchor = (X(*minus) + X(*plus)) / 2;
    } else {
      anchor = X(minus ? *minus : plus ? *plus : lo);
    }
    const auto draw_end = [&](const TornadoEnd& end, const std::optional<double>& value,
                              const std::optional<double>& other, const QColor& color) {
      QString text = end.text;
      if (end.kind != TornadoEnd::Kind::kOutOfRange && std::abs(end.percent) != 20) {
        text += QStringLiteral(" (%1)").arg(PercentText(end.percent));
      }
      int edge;
      bool outwards_right = false;
      if (value) {
        edge = X(*value);
        const QRect r(std::min(anchor, edge), bar_top, std::max(1, std::abs(edge - anchor)),
                      bar_height);
        painter.fillRect(r, color);
        if (std::isinf(*value)) painter.fillRect(r, QBrush(Qt::white, Qt::BDiagPattern));
        outwards_right = edge > anchor;
      } else {
        edge = anchor;
      }
      // A text at the base line (no bar, or a bar of no length) stands on
      // the side away from the other end; the lowered input's on the left
      // when both ends are there.
      if (edge == anchor) {
        const int other_edge = other ? X(*other) : anchor;
        outwards_right = other_edge != anchor ? other_edge < anchor : color == plus_color;
      }
      if (value && std::isinf(*value)) return;  // the band says "nincs"
      painter.setPen(value ? Qt::black : Qt::darkGray);
      const int w = fm.horizontalAdvance(text);
      const int tx = outwards_right ? edge + 4 : edge - 4 - w;
      painter.drawText(QPoint(tx, mid + fm.ascent() / 2 - 1), text);
    };
    draw_end(bar.minus, minus, plus, minus_color);
    draw_end(bar.plus, plus, minus, plus_color);
  }
  if (base_value) {
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    const int bx = X(*base_value);
    painter.drawLine(bx, top - 2, bx, axis_y);
  }
}

}  // namespace zr
