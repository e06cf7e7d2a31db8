// The PDF report: one A4 page with the inputs, the results, the payback time
// and the chart as vector drawing; from the window and from the command line.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "ui_test_support.h"

namespace zr::test {
namespace {

// The output of a poppler tool run on `pdf`.
QString Poppler(const char* tool, const QStringList& arguments) {
  const QString program = QStandardPaths::findExecutable(tool);
  if (program.isEmpty()) {
    ADD_FAILURE() << tool << " is missing (package poppler-utils)";
    return {};
  }
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished(20000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

QString PdfText(const QString& pdf) { return Poppler("pdftotext", {pdf, "-"}); }

void ExpectOneVectorPage(const QString& pdf) {
  EXPECT_TRUE(Poppler("pdfinfo", {pdf}).contains(QRegularExpression("Pages:\\s+1\\n")));
  EXPECT_TRUE(Poppler("pdfinfo", {pdf}).contains("(A4)"));
  // The image list has its two header lines and nothing else.
  EXPECT_EQ(Poppler("pdfimages", {"-list", pdf}).trimmed().count('\n'), 1);
}

TEST(Report, CtrlPWritesOnePageWithEveryInputResultAndTheChart) {
  QTemporaryDir dir;
  WindowFixture f;
  AnsweringChooser chooser;
  chooser.answer = dir.filePath("ugyfel");
  f.window->SetFileChooser(chooser);
  f.ShowActive();
  QTest::keyClick(f.window.get(), Qt::Key_P, Qt::ControlModifier);
  const QString pdf = dir.filePath("ugyfel.pdf");
  ASSERT_TRUE(QFile::exists(pdf));
  ExpectOneVectorPage(pdf);

  const QString text = PdfText(pdf);
  for (const char* expected :
       {"Napkollektoros rendszer megtérülése", "Bemenő, felvett adatok", "Számított értékek",
        "Megtérülési idő: 16,68 év", "Költség", "Haszon", "Idő (év)",
        "Kiváltott energiahordozó árának éves árváltozása (inflációja), [%]",
        "Szolárhő ára, [Ft/kWh]", "132790", "40631", "0,5"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
  }
  for (const Field field : kAllFields) {
    EXPECT_TRUE(text.contains(f.Box(field)->accessibleName().trimmed().chopped(1)))
        << FieldName(field);
  }
  EXPECT_TRUE(text.contains(QDate::currentDate().toString("yyyy")));
  // The verdict, wrapped at the page's width.
  EXPECT_TRUE(text.simplified().contains(
      QString::fromUtf8("A beruházás a vizsgált 25 éves időszakon belül, 16,68 év alatt megtérül, "
                        "és évente átlagosan 40631 Ft nyereséget hoz.")));
}

// The avoided CO₂ stands under the verdict once the carrier is known, and
// nowhere before.
TEST(Report, TheAvoidedCo2IsReportedWhenTheCarrierIsKnown) {
  QTemporaryDir dir;
  WindowFixture f;
  const QString without = dir.filePath("nelkul.pdf");
  ASSERT_TRUE(f.window->WriteReportTo(without));
  EXPECT_FALSE(PdfText(without).contains(QString::fromUtf8("CO₂")));

  f.window->SetCarrier(CarrierChoice{Carrier::NaturalGas, "120", "90", "0,184"});
  const QString with = dir.filePath("gazzal.pdf");
  ASSERT_TRUE(f.window->WriteReportTo(with));
  ExpectOneVectorPage(with);
  // 6 m² × 600 kWh at 90 % with 0,184 kg/kWh, over 25 years.
  EXPECT_TRUE(PdfText(with).simplified().contains(
      QString::fromUtf8("Elkerült CO₂: évente 736 kg, 25 év alatt 18,4 t.")))
      << PdfText(with).toStdString();
}

TEST(Report, AFaultIsSaidAndAnUnwritablePlaceIsReported) {
  QTemporaryDir dir;
  WindowFixture f;
  f.CalculateWith({{Field::Akoll, "100000000000"}});
  ASSERT_TRUE(f.window->WriteReportTo(dir.filePath("hiba.pdf")));
  EXPECT_TRUE(PdfText(dir.filePath("hiba.pdf"))
                  .contains("A számítás nem fejeződött be: A számítás eredménye túl nagy!"));

  EXPECT_FALSE(f.window->WriteReportTo(dir.filePath("nincs/hiba.pdf")));
  ASSERT_EQ(f.reporter.problems.size(), 1u);
  EXPECT_EQ(f.reporter.problems[0].first, "Jelentés");
}

struct ReportRun {
  int exit_code;
  QString error;
};

ReportRun RunReport(const QStringList& arguments) {
  QProcess program;
  QProcessEnvironment environment;  // no display at all
  environment.insert("LANG", "C.UTF-8");
  program.setProcessEnvironment(environment);
  program.start(ZELTANO_PROGRAM_PATH, arguments);
  program.waitForFinished(30000);
  return {program.exitCode(), QString::fromUtf8(program.readAllStandardError())};
}

TEST(Report, TheCommandLineWritesItWithoutAWindowOrADisplay) {
  QTemporaryDir dir;
  const QString scenario = dir.filePath("iskola.zeltano.json");
  QFile file(scenario);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(R"({"Elettartam":"0","Tamogatas":"50"})");
  file.close();

  const QString pdf = dir.filePath("iskola.pdf");
  const ReportRun run = RunReport({"--report", pdf, scenario});
  EXPECT_EQ(run.exit_code, 0) << run.error.toStdString();
  // The wrong box is reported on the terminal and replaced, as in the window.
  EXPECT_TRUE(run.error.contains("zeltano-redurir: Az élettartam 1 és 50 év között lehet!"));
  ExpectOneVectorPage(pdf);
  const QString text = PdfText(pdf);
  EXPECT_TRUE(text.contains("Forgatókönyv: iskola.zeltano.json"));
  EXPECT_TRUE(text.contains("500000"));
  EXPECT_TRUE(text.contains("Megtérülési idő: "));

  const QString refused = dir.filePath("nem.pdf");
  QFile bad(dir.filePath("rossz.json"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("[1]");
  bad.close();
  const ReportRun bad_run = RunReport({"--report", refused, bad.fileName()});
  EXPECT_EQ(bad_run.exit_code, 1);
  EXPECT_TRUE(bad_run.error.contains("nem JSON-objektum")) << bad_run.error.toStdString();
  EXPECT_FALSE(QFile::exists(refused));
}

// The report goes where the user points it: a pipe (/dev/stdout) is written
// into, not replaced; a FIFO as the scenario is refused at once; a usage
// mistake is told as such with no display to look for.
TEST(Report, GoesIntoAPipeAndRefusesAFifoScenarioAndAUsageMistakeFirst) {
  QProcess program;
  QProcessEnvironment environment;
  environment.insert("LANG", "C.UTF-8");
  program.setProcessEnvironment(environment);
  program.start(ZELTANO_PROGRAM_PATH, {"--report", "/dev/stdout"});
  ASSERT_TRUE(program.waitForFinished(30000));
  EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
  EXPECT_TRUE(program.readAllStandardOutput().startsWith("%PDF-"));

  QTemporaryDir dir;
  const QString fifo = dir.filePath("f.json");
  ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
  const ReportRun from_fifo = RunReport({"--report", dir.filePath("f.pdf"), fifo});
  EXPECT_EQ(from_fifo.exit_code, 1);
  EXPECT_TRUE(from_fifo.error.contains("hanem csővezeték (FIFO)")) << from_fifo.error.toStdString();

  const ReportRun no_name = RunReport({"--report"});
  EXPECT_EQ(no_name.exit_code, 2);
  EXPECT_TRUE(
      no_name.error.startsWith("zeltano-redurir: a --report után meg kell adni a PDF-fájl nevét"))
      << no_name.error.toStdString();
}

}  // namespace
}  // namespace zr::test
