#pragma once
// The one-page A4 PDF report an installer hands over: title, date, the
// sixteen inputs and the results with their captions, the payback time and
// the chart as a vector drawing, all in Hungarian.

#include <QByteArray>
#include <QDate>
#include <QFont>
#include <QString>
#include <optional>
#include <vector>

#include "chart_operation.h"
#include "number_format.h"
#include "report_variants.h"
#include "risk_report.h"

namespace zr {

struct ReportRow {
  QString caption;  // as the window shows it, units included
  QString value;
};

struct ReportContent {
  QDate date;
  QString scenario;  // the scenario file's name; empty when none
  std::vector<ReportRow> inputs;
  std::vector<ReportRow> results;
  QString payback;               // the text of L; empty when the run did not get there
  std::optional<QString> fault;  // the message of a run that ended on a fault
  QString verdict;               // the run's verdict: does it pay off?
  ChartOperations chart;         // the run's drawing operations, frame included
  QFont chart_font;              // the chart box's font
  NumberFormat format;
  std::optional<RiskReport> risk;          // when the risk was run: a page of its own
  std::optional<VariantsReport> variants;  // a second page, when variants are open
  // The avoided CO₂ (its figures and what they assume), when the carrier is known.
  std::optional<QString> avoided_co2;
};

// The report's face at `points`: the one font of every page of it.
QFont ReportFace(qreal points, bool bold = false);

// The report as a PDF document; empty when it cannot be drawn.
QByteArray ReportPdf(const ReportContent& content);

}  // namespace zr
