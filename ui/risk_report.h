#pragma once
// The risk view's page of the PDF report: the ranges, the runs and the
// seed, the share that pays back, the percentiles, the faults and the
// histogram, as the window showed them.

#include <QFont>
#include <QRectF>
#include <QString>
#include <vector>

#include "risk_view.h"

class QPainter;

namespace zr {

struct RiskReportRange {
  QString caption;  // the input's caption without its unit
  QString low;
  QString mode;
  QString high;
  QString unit;
};

struct RiskReport {
  std::vector<RiskReportRange> ranges;
  QString status;  // "Kész: 10000 futás, kezdőérték: 1."
  RiskFigures figures;
  RiskHistogram histogram;
};

// Draws the page on `page` (logical pixels of 96 per inch) inside `margin`.
void DrawRiskPage(QPainter& painter, const QRectF& page, qreal margin, const RiskReport& risk);

}  // namespace zr
