#pragma once
// The report's comparison page, when variants are open: the variants' table
// (captions as the Változatok window shows them, marks included) and their
// common chart.

#include <QStringList>

#include "variants.h"

class QPainter;
class QFont;
class QRectF;

namespace zr {

struct NumberFormat;

struct VariantsReport {
  VariantsTable table;
  QStringList captions;  // one per table row
};

// Draws the page into `page` (logical pixels of 96 per inch).
void DrawVariantsPage(QPainter& painter, const QRectF& page, const VariantsReport& report,
                      const QFont& chart_font, const NumberFormat& format);

}  // namespace zr
