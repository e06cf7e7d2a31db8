#include "figure_fit.h"

#include <QFontMetricsF>
#include <QLabel>

namespace zr {

namespace {

constexpr qreal kPointStep = 0.25;

bool Fits(const QString& text, const QFont& font, int width) {
  return QFontMetricsF(font).horizontalAdvance(text) <= width;
}

}  // namespace

FittedFigure FitFigure(const QString& text, const QFont& font, int width) {
  QFont candidate = font;
  qreal points = font.pointSizeF();
  while (!Fits(text, candidate, width) && points - kPointStep >= kMinimumFigurePoints) {
    points -= kPointStep;
    candidate.setPointSizeF(points);
  }
  if (Fits(text, candidate, width)) return {candidate, text, false};
  const QString shown =
      QFontMetricsF(candidate).elidedText(text, Qt::ElideRight, static_cast<qreal>(width));
  return {candidate, shown, true};
}

void ShowFigure(QLabel& label, const QFont& layout_font, const QString& text) {
  const FittedFigure fitted = FitFigure(text, layout_font, label.contentsRect().width());
  label.setFont(fitted.font);
  label.setText(fitted.shown);
  label.setToolTip(fitted.shortened ? text : QString());
  label.setAccessibleDescription(text);
}

}  // namespace zr
