#pragma once
// The sensitivity of the payback time as a tornado chart: it draws the
// core's model (analysis_view.h), one bar per input from the payback at
// -20 % to the payback at +20 % of its value, the widest bar on top.

#include <QString>
#include <QWidget>

#include "analysis_view.h"
#include "input_captions.h"

namespace zr {

class TornadoChart : public QWidget {
  Q_OBJECT

 public:
  explicit TornadoChart(QWidget* parent = nullptr);

  // The inputs' captions, as the bars name them.
  void SetCaptions(InputCaptions captions);

  // Shows this chart; with no bars the chart shows `message` instead.
  void SetTornado(Tornado tornado);
  void ShowMessage(const QString& message);

  const Tornado& Model() const { return tornado_; }
  const QString& Message() const { return message_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  InputCaptions captions_;
  Tornado tornado_;
  QString message_;
};

}  // namespace zr
