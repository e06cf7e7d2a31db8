#include "fonts.h"

#include <QStringList>

namespace zr {

void InstallFontSubstitutes() {
  // Liberation Sans has Arial's metrics and is narrower than the bitmap
  // MS Sans Serif's usual stand-ins, so the longest input captions still fit.
  // Arimo is the same design under another name; DejaVu Sans is only a last
  // resort and is too wide for some captions.
  const QStringList sans{"Liberation Sans", "Arimo", "DejaVu Sans"};
  QFont::insertSubstitutions(kMsSansSerif, sans);
  QFont::insertSubstitutions(kArial, sans);
  // No free face is as heavy as Arial Black; the bold of the same family
  // keeps the line inside its label.
  QFont::insertSubstitutions(kArialBlack, sans);
}

QFont LayoutFont(const QString& family, qreal point_size, bool bold, bool italic) {
  QFont font(family);
  font.setPointSizeF(point_size);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

}  // namespace zr
