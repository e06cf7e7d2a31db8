#pragma once
// The sensitivity of the payback time as a tornado chart: one bar per input,
// from the payback at -20 % to the payback at +20 % of its value, the
// widest bar on top.

#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "input_captions.h"
#include "number_format.h"
#include "sensitivity.h"

namespace zr {

// One end of a bar: what the payback is when the input moves one way.
struct TornadoEnd {
  enum class Kind {
    kYears,       // a payback time
    kNoPayback,   // "nincs": none within 100 years
    kOutOfRange,  // the changed value is outside what the box accepts
    kFault,       // the run ended on an arithmetic fault
  };
  Kind kind = Kind::kFault;
  double years = 0;  // when kYears
  int percent = 0;   // the change it stands for: ±20, or ±10 when ±20 is out of range
  QString text;      // the payback text as the label shows it, or the reason in words
};

struct TornadoBar {
  Field field;
  TornadoEnd minus;  // the input lowered
  TornadoEnd plus;   // the input raised
};

// The payback at the centre line: the scenario as calculated.
struct TornadoBase {
  std::optional<double> years;  // nullopt: no payback ("nincs") or a fault
  QString text;
};

// The scenario's own payback (absent on a fault) as the base of the chart.
TornadoBase TornadoBaseOf(const std::optional<PaybackTime>& payback, const NumberFormat& format);

// Bars for the inputs with a sensitivity, the widest first (reaching "nincs"
// from a payback counts wider than any time); ties keep the order of the boxes.
std::vector<TornadoBar> TornadoBars(const std::vector<Sensitivity>& sensitivity,
                                    const TornadoBase& base, const NumberFormat& format);

class TornadoChart : public QWidget {
  Q_OBJECT

 public:
  TornadoChart(InputCaptions captions, NumberFormat format, QWidget* parent = nullptr);

  // Shows these bars; with no base the chart shows `message` instead.
  void SetBars(TornadoBase base, std::vector<TornadoBar> bars);
  void ShowMessage(const QString& message);

  const std::vector<TornadoBar>& Bars() const { return bars_; }
  const QString& Message() const { return message_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  InputCaptions captions_;
  NumberFormat format_;
  TornadoBase base_;
  std::vector<TornadoBar> bars_;
  QString message_;
};

}  // namespace zr
