// The "Változatok" window: F6 opens it with the current scenario, scenario
// files join it, it draws the core's table and chart, saves its variants as
// scenario files, and the report gains a comparison page.

#include "variants_window.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>

#include "report.h"
#include "safe_file.h"
#include "scenario_file.h"
#include "test_inputs.h"
#include "ui_test_support.h"

namespace zr::test {
namespace {

struct VariantsFixture : WindowFixture {
  QTemporaryDir dir;
  AnsweringChooser chooser;

  VariantsFixture() { window->SetFileChooser(chooser); }
  VariantsWindow* Open() const {
    ShowActive();
    QTest::keyClick(window.get(), Qt::Key_F6);
    return window->Variants();
  }
  // A scenario file with some boxes changed.
  QString Scenario(const char* name, TextChanges changes) const {
    const QString path = dir.filePath(QString::fromUtf8(name) + ".zeltano.json");
    EXPECT_FALSE(
        WriteFileSafely(path.toStdString(), ScenarioText(StartupTextsWith(std::move(changes)))));
    return path;
  }
  QTableWidget* Table(VariantsWindow* v) const { return v->findChild<QTableWidget*>("Tablazat"); }
};

TEST(VariantsWindow, CurrentScenarioAndAFileSideBySide) {
  VariantsFixture f;
  VariantsWindow* v = f.Open();
  ASSERT_NE(v, nullptr);
  ASSERT_EQ(v->Variants().size(), 1u);  // the current scenario
  EXPECT_FALSE(v->Table());

  f.chooser.answer = f.Scenario("fél támogatás", {{Field::Tamogatas, "50"}});
  QTest::mouseClick(v->findChild<QPushButton*>("Megnyitas"), Qt::LeftButton);
  ASSERT_TRUE(v->Table());
  QTableWidget* table = f.Table(v);
  ASSERT_EQ(table->columnCount(), 2);
  EXPECT_EQ(table->horizontalHeaderItem(1)->text(), QStringLiteral("fél támogatás"));
  // The differing input and the marked cells, as the core's table says.
  const int subsidy = static_cast<int>(Index(Field::Tamogatas));
  EXPECT_TRUE(table->verticalHeaderItem(subsidy)->text().startsWith(QStringLiteral("≠ ")));
  EXPECT_FALSE(table->verticalHeaderItem(0)->text().startsWith(QStringLiteral("≠")));
  const int payback = static_cast<int>(kFieldCount + static_cast<std::size_t>(ResultLabel::L));
  EXPECT_EQ(table->item(payback, 0)->text(), QStringLiteral("16,68"));
  EXPECT_EQ(table->item(payback, 1)->text(), QStringLiteral("8,07 ★"));
  // The chart is drawn: some of the box is neither its back colour nor black.
  const QImage drawing = v->findChild<ChartBox*>("Grafikon")->Drawing();
  bool coloured = false;
  for (int y = 0; y < drawing.height() && !coloured; ++y) {
    for (int x = 0; x < drawing.width() && !coloured; ++x) {
      coloured = drawing.pixelColor(x, y) ==
                 QColor(kSavingsColor.red, kSavingsColor.green, kSavingsColor.blue);
    }
  }
  EXPECT_TRUE(coloured);

  // A file that is no scenario is refused, with the reason.
  const QString bad = f.dir.filePath("rossz.zeltano.json");
  EXPECT_FALSE(WriteFileSafely(bad.toStdString(), "[1]"));
  EXPECT_FALSE(v->AddFile(bad));
  EXPECT_EQ(f.reporter.problems.size(), 1u);
  EXPECT_EQ(v->Variants().size(), 2u);

  // The report gets the comparison as its second page.
  const QString pdf = f.dir.filePath("jelentes.pdf");
  ASSERT_TRUE(f.window->WriteReportTo(pdf));
  QProcess info;
  info.start(QStandardPaths::findExecutable("pdfinfo"), {pdf});
  info.waitForFinished(20000);
  EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                  .contains(QRegularExpression("Pages:\\s+2\\n")));
}

TEST(VariantsWindow, SavesEachVariantAsAScenarioFileAndRemoves) {
  VariantsFixture f;
  VariantsWindow* v = f.Open();
  ASSERT_TRUE(v->AddFile(f.Scenario("drága", {{Field::Beruhazas, "1500000"}})));
  ASSERT_TRUE(v->AddFile(f.Scenario("kicsi", {{Field::Akoll, "4"}})));
  QTemporaryDir out;
  ASSERT_TRUE(v->SaveVariants(out.filePath("elso.zeltano.json")));
  const std::vector<QString> files = {out.filePath("elso.zeltano.json"),
                                      out.filePath("drága.zeltano.json"),
                                      out.filePath("kicsi.zeltano.json")};
  for (std::size_t i = 0; i < files.size(); ++i) {
    const auto content =
        ReadRegularFile(QFile::encodeName(files[i]).toStdString(), kMaxScenarioBytes);
    ASSERT_TRUE(std::holds_alternative<std::string>(content)) << files[i].toStdString();
    EXPECT_EQ(std::get<InputTexts>(
                  ParseScenario(std::get<std::string>(content), NumberFormat::Hungarian())),
              v->Variants()[i].texts);
  }
  // Removing the selected column's variant.
  f.Table(v)->selectColumn(1);
  QTest::mouseClick(v->findChild<QPushButton*>("Eltavolitas"), Qt::LeftButton);
  ASSERT_EQ(v->Variants().size(), 2u);
  EXPECT_EQ(v->Variants()[1].name, "kicsi");
}

}  // namespace
}  // namespace zr::test
