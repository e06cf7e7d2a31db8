#pragma once
// A figure in a value label of fixed width is always shown whole or visibly
// shortened, never cut off silently: it takes the label's own font when it
// fits, else a smaller font down to a legible minimum, else the minimum font
// with an ellipsis, and then the whole figure goes to the tooltip.

#include <QFont>
#include <QString>

class QLabel;

namespace zr {

// The smallest point size a figure is shrunk to.
inline constexpr qreal kMinimumFigurePoints = 6.0;

struct FittedFigure {
  QFont font;
  QString shown;  // the figure itself, or its start with an ellipsis
  bool shortened = false;
};

// How `text` fits `width` pixels, starting from `font`.
FittedFigure FitFigure(const QString& text, const QFont& font, int width);

// Shows `text` in `label` as FitFigure decides, from the label's layout
// font. The whole figure is also the label's accessible description, so a
// screen reader reads it whatever the label shows.
void ShowFigure(QLabel& label, const QFont& layout_font, const QString& text);

}  // namespace zr
