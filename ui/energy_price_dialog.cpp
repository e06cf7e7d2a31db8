#include "energy_price_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "number_text.h"
#include "require_child.h"

namespace zr {
namespace {

// The helper's word from the core.
QString W(EnergyPriceWord word) {
  const std::string_view text = WordOf(word);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The word as a form label: its access key before the character at `key`,
// a colon after it.
QString Keyed(EnergyPriceWord word, qsizetype key) {
  QString text = W(word);
  text.insert(key, QLatin1Char('&'));
  return text + QStringLiteral(":");
}

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString DefaultText(const std::optional<Money>& value, const NumberFormat& format) {
  return value ? Q(MoneyText(*value, format)) : QString();
}

QLineEdit* NamedBox(const char* name, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

}  // namespace

EnergyPriceDialog::EnergyPriceDialog(QLineEdit& target, const QLineEdit& akoll,
                                     const QLineEdit& qkoll, const QLineEdit& elettartam,
                                     NumberFormat format, QWidget* parent)
    : QDialog(parent),
      target_(target),
      akoll_(akoll),
      qkoll_(qkoll),
      elettartam_(elettartam),
      format_(std::move(format)) {
  setWindowTitle(W(EnergyPriceWord::kTitle));
  setObjectName(QStringLiteral("EnergiaarAtszamitas"));

  carrier_ = new QComboBox(this);
  carrier_->setObjectName(QStringLiteral("Energiahordozo"));
  for (const CarrierInfo& info : Carriers()) carrier_->addItem(Q(info.name));
  price_ = NamedBox("Egysegar", this);
  heating_value_ = NamedBox("Futoertek", this);
  efficiency_ = NamedBox("Hatasfok", this);
  yearly_use_ = NamedBox("EvesFogyasztas", this);
  band_ = NamedBox("KedvezmenyesSav", this);
  price_above_ = NamedBox("SavFelettiAr", this);
  co2_ = NamedBox("Co2Tenyezo", this);

  auto* form = new QFormLayout;
  price_label_ = new QLabel(this);
  heating_value_label_ = new QLabel(this);
  form->addRow(Keyed(EnergyPriceWord::kCarrier, 0), carrier_);
  form->addRow(price_label_, price_);
  form->addRow(heating_value_label_, heating_value_);
  form->addRow(Keyed(EnergyPriceWord::kEfficiency, 0), efficiency_);
  price_label_->setBuddy(price_);
  heating_value_label_->setBuddy(heating_value_);

  auto* band_box = new QGroupBox(W(EnergyPriceWord::kBandTitle), this);
  auto* band_form = new QFormLayout(band_box);
  yearly_use_label_ = new QLabel(band_box);
  band_label_ = new QLabel(band_box);
  price_above_label_ = new QLabel(band_box);
  band_form->addRow(yearly_use_label_, yearly_use_);
  band_form->addRow(band_label_, band_);
  band_form->addRow(price_above_label_, price_above_);
  yearly_use_label_->setBuddy(yearly_use_);
  band_label_->setBuddy(band_);
  price_above_label_->setBuddy(price_above_);

  auto* co2_form = new QFormLayout;
  co2_form->addRow(Keyed(EnergyPriceWord::kCo2Factor, 0), co2_);

  result_ = new QLabel(this);
  result_->setObjectName(QStringLiteral("Eredmeny"));
  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("Uzenet"));
  message_->setWordWrap(true);
  co2_text_ = new QLabel(this);
  co2_text_->setObjectName(QStringLiteral("Co2Szoveg"));
  co2_text_->setWordWrap(true);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* write = buttons->addButton(QStringLiteral("&") + W(EnergyPriceWord::kWrite),
                                          QDialogButtonBox::AcceptRole);
  write->setObjectName(QStringLiteral("Beiras"));
  write->setDefault(true);
  buttons->addButton(QStringLiteral("Mégse"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &EnergyPriceDialog::Write);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(band_box);
  layout->addLayout(co2_form);
  layout->addWidget(result_);
  layout->addWidget(message_);
  layout->addWidget(co2_text_);
  layout->addWidget(buttons);

  connect(carrier_, &QComboBox::currentIndexChanged, this, &EnergyPriceDialog::ChooseCarrier);
  for (QLineEdit* box :
       {price_, heating_value_, efficiency_, yearly_use_, band_, price_above_, co2_}) {
    connect(box, &QLineEdit::textChanged, this, &EnergyPriceDialog::Update);
  }
  ChooseCarrier(0);
  setMinimumWidth(460);
  // The bill's price is what the user brings; the carrier is gas by default.
  price_->setFocus();
}

void EnergyPriceDialog::ChooseCarrier(int index) {
  const CarrierInfo& info = Carriers()[static_cast<std::size_t>(index)];
  const QString unit = Q(info.unit);
  price_label_->setText(Keyed(EnergyPriceWord::kUnitPrice, 1).arg(unit));
  heating_value_label_->setText(Keyed(EnergyPriceWord::kHeatingValue, 0).arg(unit));
  yearly_use_label_->setText(W(EnergyPriceWord::kYearlyUse).arg(unit) + QStringLiteral(":"));
  band_label_->setText(W(EnergyPriceWord::kBand).arg(unit) + QStringLiteral(":"));
  price_above_label_->setText(W(EnergyPriceWord::kPriceAboveBand).arg(unit) + QStringLiteral(":"));
  heating_value_->setText(DefaultText(info.heating_value_kwh, format_));
  efficiency_->setText(DefaultText(info.efficiency_percent, format_));
  co2_->setText(DefaultText(info.co2_kg_per_fuel_kwh, format_));
  Update();
}

EnergyPriceInput EnergyPriceDialog::Input() const {
  EnergyPriceInput in;
  in.carrier = Carriers()[static_cast<std::size_t>(carrier_->currentIndex())].carrier;
  in.unit_price = price_->text().toStdString();
  in.heating_value = heating_value_->text().toStdString();
  in.efficiency_percent = efficiency_->text().toStdString();
  in.yearly_use = yearly_use_->text().toStdString();
  in.band = band_->text().toStdString();
  in.price_above_band = price_above_->text().toStdString();
  in.co2_factor = co2_->text().toStdString();
  in.akoll = akoll_.text().toStdString();
  in.qkoll = qkoll_.text().toStdString();
  in.elettartam = elettartam_.text().toStdString();
  return in;
}

void EnergyPriceDialog::Update() {
  const EnergyPriceResult r = ConvertEnergyPrice(Input(), format_);
  result_->setText(r.price_text ? W(EnergyPriceWord::kResult).arg(Q(*r.price_text)) : QString());
  message_->setText(Q(r.message));
  co2_text_->setText(Q(r.co2_text));
}

void EnergyPriceDialog::StartFrom(const CarrierChoice& known) {
  carrier_->setCurrentIndex(static_cast<int>(known.carrier));  // Carriers() is in that order
  ChooseCarrier(carrier_->currentIndex());
  price_->setText(Q(known.unit_price));
  efficiency_->setText(Q(known.efficiency_percent));
  co2_->setText(Q(known.co2_factor));
}

void EnergyPriceDialog::Write() {
  const EnergyPriceInput input = Input();
  const EnergyPriceResult r = ConvertEnergyPrice(input, format_);
  if (!r.price_text) {
    message_->setText(Q(r.message));
    return;
  }
  target_.setText(Q(*r.price_text));
  // The box is narrow: its start shows, so that no leading digit is out of
  // view (with the cursor at the end, 14,0351 would read as 4,0351).
  target_.setCursorPosition(0);
  if (written_) written_(ChoiceOf(input));
  accept();
}

void AttachEnergyPriceHelper(QWidget& window, const NumberFormat& format,
                             std::function<std::optional<CarrierChoice>()> known,
                             std::function<void(const CarrierChoice&)> written) {
  auto* box = RequireChild<QLineEdit>(window, QStringLiteral("Energiaarb"));
  const auto* akoll = RequireChild<QLineEdit>(window, QStringLiteral("Akollb"));
  const auto* qkoll = RequireChild<QLineEdit>(window, QStringLiteral("Qkollb"));
  const auto* elettartam = RequireChild<QLineEdit>(window, QStringLiteral("Elettartamb"));
  const auto open = [box, akoll, qkoll, elettartam, format, &window, known, written] {
    auto* dialog = new EnergyPriceDialog(*box, *akoll, *qkoll, *elettartam, format, &window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (const auto choice = known ? known() : std::nullopt) dialog->StartFrom(*choice);
    dialog->OnWritten(written);
    dialog->open();
  };
  box->setToolTip(QStringLiteral("Ft/kWh hasznos hő. A számla árából az F4 vagy a jobb gombos menü "
                                 "„%1…” pontja számolja át.")
                      .arg(W(EnergyPriceWord::kTitle)));
  auto* shortcut =
      new QShortcut(QKeySequence(Qt::Key_F4), box, nullptr, nullptr, Qt::WidgetShortcut);
  QObject::connect(shortcut, &QShortcut::activated, box, open);
  box->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(box, &QWidget::customContextMenuRequested, box, [box, open](const QPoint& at) {
    QMenu* menu = box->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    QAction* action = menu->addAction(W(EnergyPriceWord::kTitle) + QStringLiteral("…"), open);
    action->setShortcut(QKeySequence(Qt::Key_F4));
    action->setObjectName(QStringLiteral("EnergiaarAtszamitasMenu"));
    menu->popup(box->mapToGlobal(at));
  });
}

}  // namespace zr
