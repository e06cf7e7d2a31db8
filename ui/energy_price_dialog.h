#pragma once
// "Energiaár átszámítása": the price on the bill to the Ft/kWh of useful heat
// that the "Energiaar" box takes. The dialog only lays out the fields; the
// conversion, its defaults and its messages are the core's (energy_price.h).

#include <QDialog>
#include <functional>
#include <optional>

#include "energy_price.h"
#include "number_format.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace zr {

class EnergyPriceDialog : public QDialog {
  Q_OBJECT

 public:
  // `target` receives the value; the scenario boxes give the collectors'
  // useful heat (Akoll × Qkoll) and the studied period (Elettartam).
  EnergyPriceDialog(QLineEdit& target, const QLineEdit& akoll, const QLineEdit& qkoll,
                    const QLineEdit& elettartam, NumberFormat format, QWidget* parent = nullptr);

  // Starts from `known` (the carrier, price, efficiency and factor the
  // scenario holds) instead of the first carrier's defaults.
  void StartFrom(const CarrierChoice& known);
  // Told the choice each time "Beírás" writes the target.
  void OnWritten(std::function<void(const CarrierChoice&)> written) {
    written_ = std::move(written);
  }

  // "Beírás": writes the core's value into the target and closes; a wrong
  // input leaves the message in the dialog and writes nothing.
  void Write();

 private:
  void ChooseCarrier(int index);
  EnergyPriceInput Input() const;
  void Update();

  QLineEdit& target_;
  const QLineEdit& akoll_;
  const QLineEdit& qkoll_;
  const QLineEdit& elettartam_;
  NumberFormat format_;
  std::function<void(const CarrierChoice&)> written_;
  QComboBox* carrier_;
  QLineEdit* price_;
  QLineEdit* heating_value_;
  QLineEdit* efficiency_;
  QLineEdit* yearly_use_;
  QLineEdit* band_;
  QLineEdit* price_above_;
  QLineEdit* co2_;
  QLabel* price_label_;
  QLabel* heating_value_label_;
  QLabel* yearly_use_label_;
  QLabel* band_label_;
  QLabel* price_above_label_;
  QLabel* result_;
  QLabel* message_;
  QLabel* co2_text_;
};

// Gives the window's "Energiaarb" box the way to the dialog: an action in its
// own context menu, F4 while it has the focus, and a tooltip that says so.
// The dialog starts from what `known` answers, and tells `written` the
// choice it wrote box 15 with.
void AttachEnergyPriceHelper(QWidget& window, const NumberFormat& format,
                             std::function<std::optional<CarrierChoice>()> known,
                             std::function<void(const CarrierChoice&)> written);

}  // namespace zr
