// The "Kockázat" window: F3 opens it on the three ranges offered; it runs on
// a worker and shows the core's figures for the seed; a wrong text is named
// and nothing runs; "Mégse", a Calculate and closing stop the runs; the
// report gets a page of its own once the risk was run.

#include "risk_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <variant>

#include "risk_histogram.h"
#include "risk_view.h"
#include "test_inputs.h"
#include "ui_test_support.h"

namespace zr::test {
namespace {

constexpr int kWorkerTimeoutMs = 120000;  // generous: the sanitizer build is slow

struct RiskFixture : WindowFixture {
  RiskWindow* Open() const {
    ShowActive();
    QTest::keyClick(window.get(), Qt::Key_F3);
    return TopRisk();
  }
  // The risk window is a top-level window of its own, not a child.
  static RiskWindow* TopRisk() {
    RiskWindow* found = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* risk = qobject_cast<RiskWindow*>(w)) {
        if (found != nullptr) return nullptr;
        found = risk;
      }
    }
    return found;
  }
  template <typename T>
  static T* In(RiskWindow* risk, const char* name) {
    return risk->findChild<T*>(name);
  }
  static void Start(RiskWindow* risk, const char* runs, const char* seed) {
    In<QLineEdit>(risk, "Futasok")->setText(runs);
    In<QLineEdit>(risk, "Kezdoertek")->setText(seed);
    QTest::mouseClick(In<QPushButton>(risk, "Futtatas"), Qt::LeftButton);
  }
  static QString Status(RiskWindow* risk) { return In<QLabel>(risk, "Allapot")->text(); }
};

TEST(RiskWindow, F3OpensItAndItShowsTheCoresFiguresForTheSeed) {
  RiskFixture f;
  RiskWindow* risk = f.Open();
  ASSERT_NE(risk, nullptr);
  ASSERT_TRUE(risk->isVisible());
  const auto* table = RiskFixture::In<QTableWidget>(risk, "Tartomanyok");
  ASSERT_EQ(table->rowCount(), 3);
  EXPECT_EQ(table->item(0, 1)->text(), "2");
  EXPECT_EQ(table->item(0, 3)->text(), "10");
  EXPECT_EQ(table->item(1, 0)->text(), "Napkollektorok fajlagos energiahozama, Qkoll");
  EXPECT_EQ(RiskFixture::In<QLineEdit>(risk, "Futasok")->text(), "10000");
  // 16 inputs less the three listed can be added.
  EXPECT_EQ(RiskFixture::In<QComboBox>(risk, "UjAdat")->count(), 13);

  RiskFixture::Start(risk, "3000", "7");
  EXPECT_TRUE(risk->Busy());
  ASSERT_TRUE(WaitFor([&] { return !risk->Busy(); }, kWorkerTimeoutMs));
  const NumberFormat hu = NumberFormat::Hungarian();
  const InputTexts texts = StartupTextsWith({});
  const auto ranges = std::get<std::vector<RiskRange>>(ReadRanges(DefaultRanges(texts, hu), hu));
  const RiskResult expected = RunRisk(texts, ranges, 3000, 7, hu);
  const RiskFigures figures = FiguresOf(expected, hu);
  EXPECT_EQ(RiskFixture::In<QLabel>(risk, "Arany")->text().toStdString(), figures.share);
  EXPECT_EQ(RiskFixture::In<QLabel>(risk, "P90Megterules")->text().toStdString(),
            figures.payback[2]);
  EXPECT_EQ(RiskFixture::In<QLabel>(risk, "P10Egyenleg")->text().toStdString(), figures.balance[0]);
  EXPECT_EQ(RiskFixture::Status(risk), "Kész: 3000 futás, kezdőérték: 7.");
  EXPECT_EQ(RiskFixture::In<RiskHistogramChart>(risk, "Hisztogram")->Model().description,
            HistogramOf(expected, MoneyOf(25), hu).description);

  // The report gets the risk page; a Calculate takes the result away.
  ASSERT_TRUE(f.window->ReportOfLastRun().risk);
  EXPECT_EQ(f.window->ReportOfLastRun().risk->figures.share, figures.share);
  QTemporaryDir dir;
  ASSERT_TRUE(f.window->WriteReportTo(dir.filePath("kockazat.pdf")));
  f.CalculateWith({{Field::Energiaarvalt, "7"}});
  EXPECT_FALSE(f.window->ReportOfLastRun().risk);
  EXPECT_EQ(RiskFixture::In<QLabel>(risk, "Arany")->text(), "");
  // The row left as offered follows the new scenario.
  EXPECT_EQ(table->item(0, 2)->text(), "7");
}

TEST(RiskWindow, AWrongTextIsNamedInHungarianAndNothingRuns) {
  RiskFixture f;
  RiskWindow* risk = f.Open();
  auto* table = RiskFixture::In<QTableWidget>(risk, "Tartomanyok");
  table->item(2, 1)->setText("0,5");  // Kamatlab's low, below 1 %
  RiskFixture::Start(risk, "1000", "1");
  EXPECT_FALSE(risk->Busy());
  EXPECT_EQ(RiskFixture::Status(risk),
            "Referencia kamatláb, p: A kamatláb 1 és 100 % között lehet!");
  EXPECT_EQ(table->currentRow(), 2);
  table->item(2, 1)->setText("4");
  RiskFixture::Start(risk, "1000001", "1");
  EXPECT_FALSE(risk->Busy());
  EXPECT_EQ(RiskFixture::Status(risk), "A futások száma 1 és 1000000 közötti egész szám lehet!");
}

TEST(RiskWindow, MegseACalculateAndClosingStopTheRuns) {
  RiskFixture f;
  RiskWindow* risk = f.Open();
  RiskFixture::Start(risk, "1000000", "3");
  ASSERT_TRUE(risk->Busy());
  QTest::mouseClick(RiskFixture::In<QPushButton>(risk, "Megse"), Qt::LeftButton);
  ASSERT_TRUE(WaitFor([&] { return !risk->Busy(); }, kWorkerTimeoutMs));
  EXPECT_EQ(RiskFixture::Status(risk), "A futtatás megszakítva; nincs eredmény.");
  EXPECT_FALSE(f.window->ReportOfLastRun().risk);

  RiskFixture::Start(risk, "1000000", "3");
  ASSERT_TRUE(risk->Busy());
  f.CalculateWith({});
  EXPECT_FALSE(risk->Busy());
  EXPECT_EQ(RiskFixture::Status(risk),
            "Új számítás történt: az eredmény a Futtatás gombbal készül el az új adatokra.");

  // Closing the program while runs go on: the window stops them and waits
  // for at most 256 runs, so this test ends at once.
  RiskFixture::Start(risk, "1000000", "3");
  ASSERT_TRUE(risk->Busy());
  f.window.reset();
  EXPECT_EQ(RiskFixture::TopRisk(), nullptr);
}

}  // namespace
}  // namespace zr::test
