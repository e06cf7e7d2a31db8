#include "energy_price_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "ui_test_support.h"

namespace zr {
namespace {

using test::WindowFixture;

struct DialogFixture {
  QLineEdit target{QStringLiteral("19,27")};
  QLineEdit akoll{QStringLiteral("6")};
  QLineEdit qkoll{QStringLiteral("600")};
  QLineEdit elettartam{QStringLiteral("20")};
  EnergyPriceDialog dialog{target, akoll, qkoll, elettartam, NumberFormat::Hungarian()};

  QLineEdit* Box(const char* name) { return dialog.findChild<QLineEdit*>(name); }
  void Click() { dialog.findChild<QPushButton*>("Beiras")->click(); }
};

TEST(EnergyPriceDialog, GasAtTheDefaultsWritesTheCoreValueAndCloses) {
  DialogFixture f;
  f.dialog.open();
  f.Box("Egysegar")->setText(QStringLiteral("120"));
  // Földgáz comes first, with 9,5 kWh/m³ and 90 %: 120 / 8,55.
  EXPECT_EQ(f.Box("Futoertek")->text(), QStringLiteral("9,5"));
  EXPECT_EQ(f.Box("Hatasfok")->text(), QStringLiteral("90"));
  f.Click();
  EXPECT_EQ(f.target.text(), QStringLiteral("14,0351"));
  EXPECT_EQ(f.dialog.result(), QDialog::Accepted);
}

TEST(EnergyPriceDialog, AWrongInputShowsTheMessageAndWritesNothing) {
  DialogFixture f;
  f.dialog.open();
  f.Box("Egysegar")->setText(QStringLiteral("120"));
  f.Box("Hatasfok")->setText(QStringLiteral("0"));
  f.Click();
  EXPECT_EQ(f.target.text(), QStringLiteral("19,27"));
  EXPECT_TRUE(f.dialog.isVisible());
  EXPECT_TRUE(f.dialog.findChild<QLabel*>("Uzenet")->text().contains(QStringLiteral("Hatásfok")));
}

TEST(EnergyPriceDialog, ACarrierWithoutADefaultLeavesTheFieldToTheUser) {
  DialogFixture f;
  // Fapellet: no published heating value was found, so the box is empty.
  const int pellets = f.dialog.findChild<QComboBox*>("Energiahordozo")->findText("Fapellet");
  ASSERT_GE(pellets, 0);
  f.dialog.findChild<QComboBox*>("Energiahordozo")->setCurrentIndex(pellets);
  EXPECT_EQ(f.Box("Futoertek")->text(), QString());
  f.Box("Egysegar")->setText(QStringLiteral("150"));
  f.Box("Hatasfok")->setText(QStringLiteral("85"));
  f.Click();
  EXPECT_EQ(f.target.text(), QStringLiteral("19,27"));
  EXPECT_TRUE(f.dialog.findChild<QLabel*>("Uzenet")->text().contains(QStringLiteral("Fűtőérték")));
}

EnergyPriceDialog* OpenDialog(const WindowFixture& f) {
  return f.window->findChild<EnergyPriceDialog*>();
}

TEST(EnergyPriceHelper, F4OnTheBoxOpensTheDialog) {
  WindowFixture f;
  f.window->show();
  f.window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(f.window.get()));
  QLineEdit* box = f.Box(Field::Energiaar);
  EXPECT_TRUE(box->toolTip().contains(QStringLiteral("F4")));
  ASSERT_EQ(OpenDialog(f), nullptr);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_F4);
  EnergyPriceDialog* dialog = OpenDialog(f);
  ASSERT_NE(dialog, nullptr);
  dialog->findChild<QLineEdit*>("Egysegar")->setText(QStringLiteral("120"));
  EXPECT_FALSE(f.window->Carrier().has_value());
  dialog->Write();
  EXPECT_EQ(box->text(), QStringLiteral("14,0351"));
  EXPECT_EQ(box->cursorPosition(), 0);  // the leading digits in view
  // The window now knows the carrier, and the helper starts from it again.
  const CarrierChoice gas{Carrier::NaturalGas, "120", "90", "0,184"};
  EXPECT_EQ(f.window->Carrier(), gas);
  ASSERT_TRUE(QTest::qWaitFor([&] { return OpenDialog(f) == nullptr; }));
  f.window->SetCarrier(CarrierChoice{Carrier::Lpg, "650", "85", "0,227"});
  f.window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(f.window.get()));
  box->setFocus();
  QTest::keyClick(box, Qt::Key_F4);
  dialog = OpenDialog(f);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->findChild<QComboBox*>("Energiahordozo")->currentText(), "PB-gáz");
  EXPECT_EQ(dialog->findChild<QLineEdit*>("Egysegar")->text(), "650");
  EXPECT_EQ(dialog->findChild<QLineEdit*>("Hatasfok")->text(), "85");
  EXPECT_EQ(dialog->findChild<QLineEdit*>("Futoertek")->text(), "12,81");
}

TEST(EnergyPriceHelper, TheBoxContextMenuKeepsItsEditingActionsAndAddsTheHelper) {
  WindowFixture f;
  f.window->show();
  QLineEdit* box = f.Box(Field::Energiaar);
  emit box->customContextMenuRequested(QPoint(2, 2));
  QMenu* menu = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* m = qobject_cast<QMenu*>(w); m != nullptr && m->isVisible()) menu = m;
  }
  ASSERT_NE(menu, nullptr);
  auto* helper = menu->findChild<QAction*>("EnergiaarAtszamitasMenu");
  ASSERT_NE(helper, nullptr);
  EXPECT_GT(menu->actions().size(), 3);  // the standard Undo, Cut, Copy, Paste… stay
  helper->trigger();
  menu->close();
  EXPECT_NE(OpenDialog(f), nullptr);
}

}  // namespace
}  // namespace zr
