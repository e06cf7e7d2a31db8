#pragma once
// The payback time's histogram of a risk result: it draws the core's model
// (risk_view.h), a bar per whole-year bin and one for "nincs", the count
// scale, the year ticks and the studied period's end. The same painting
// serves the window and the PDF report.

#include <QFont>
#include <QRectF>
#include <QString>
#include <QWidget>

#include "risk_view.h"

class QPainter;

namespace zr {

// Paints `histogram` (or, with no bars, `message`) into `area` with `font`.
void PaintRiskHistogram(QPainter& painter, const QRectF& area, const QFont& font,
                        const RiskHistogram& histogram, const QString& message);

class RiskHistogramChart : public QWidget {
  Q_OBJECT

 public:
  explicit RiskHistogramChart(QWidget* parent = nullptr);

  // Shows this histogram; with no bars the chart shows `message` instead.
  void SetHistogram(RiskHistogram histogram);
  void ShowMessage(const QString& message);

  const RiskHistogram& Model() const { return histogram_; }
  const QString& Message() const { return message_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  RiskHistogram histogram_;
  QString message_;
};

}  // namespace zr
