// Handing results on: Ctrl+C as spreadsheet rows, the chart as PNG or SVG,
// F1 and the user guide.

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QUrl>
#include <iterator>

#include "ui_test_support.h"
#include "user_guide.h"

namespace zr::test {
namespace {

TEST(CopyResults, CtrlCCopiesCaptionTabValueRowsUnlessABoxHasASelection) {
  WindowFixture f;
  f.ShowActive();
  QClipboard* clipboard = QGuiApplication::clipboard();
  const QStringList rows = f.window->ResultsText().split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(rows.size(), 11);
  EXPECT_EQ(rows.front(), "Támogatással csökkentett beruházási költség, [Ft]\t1000000");
  EXPECT_EQ(rows[8], "Egyenleg, [Ft]\t40631");
  EXPECT_EQ(rows[9], "Szolárhő ára, [Ft/kWh]\t26");
  EXPECT_EQ(rows.back(), "Megtérülési idő [év]\t16,68");

  for (QWidget* focus : {f.Child("graf"), static_cast<QWidget*>(f.Box(Field::Akoll))}) {
    clipboard->setText("régi");
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), f.window->ResultsText()) << focus->objectName().toStdString();
  }
  QLineEdit* box = f.Box(Field::Qkoll);
  box->setFocus();
  box->selectAll();
  QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard->text(), "600");
}

TEST(ChartImage, SavesWhatTheBoxShowsAsPngAndTheRunAsSvg) {
  QTemporaryDir dir;
  WindowFixture f;
  auto* graf = f.Child("graf");
  ASSERT_TRUE(f.window->SaveChartImage(dir.filePath("g.png")));
  QImage png(dir.filePath("g.png"));
  EXPECT_EQ(png, graf->grab().toImage().convertToFormat(png.format()));

  ASSERT_TRUE(f.window->SaveChartImage(dir.filePath("g.svg")));
  QFile file(dir.filePath("g.svg"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString svg = QString::fromUtf8(file.readAll());
  EXPECT_FALSE(svg.contains("<image"));  // drawn, not a picture of pixels
  for (const char* text : {"Költség", "Haszon", "Idő (év)", "Megtérülési idő [év]:", "16,68"}) {
    EXPECT_TRUE(svg.contains(QString::fromUtf8(text))) << text;
  }
  QSvgRenderer renderer(dir.filePath("g.svg"));
  EXPECT_TRUE(renderer.isValid());
  EXPECT_EQ(renderer.viewBox().size(), graf->contentsRect().size());

  EXPECT_FALSE(f.window->SaveChartImage(dir.filePath("nincs/g.png")));
  EXPECT_EQ(f.reporter.problems.size(), 1u);
}

TEST(Menu, OffersEveryCommandOnItsShortcutWithItsOwnAccessKey) {
  WindowFixture f;
  const std::pair<const char*, const char*> expected[] = {{"Forgatókönyv megnyitása…", "Ctrl+O"},
                                                          {"Forgatókönyv mentése", "Ctrl+S"},
                                                          {"Mentés másként…", "Ctrl+Shift+S"},
                                                          {"Jelentés PDF-ben…", "Ctrl+P"},
                                                          {"Eredmények másolása", "Ctrl+C"},
                                                          {"Grafikon mentése képként…", ""},
                                                          {"Elemzés", "F2"},
                                                          {"Kockázat", "F3"},
                                                          {"Változatok", "F6"},
                                                          {"Felhasználói útmutató", "F1"}};
  const QList<QAction*> actions = f.window->actions();
  ASSERT_EQ(actions.size(), std::ssize(expected));
  QSet<QChar> keys;
  for (qsizetype i = 0; i < actions.size(); ++i) {
    QString text = actions[i]->text();
    const qsizetype amp = text.indexOf('&');
    ASSERT_GE(amp, 0) << i;
    keys.insert(text[amp + 1].toLower());
    EXPECT_EQ(text.remove('&'), QString::fromUtf8(expected[i].first));
    EXPECT_EQ(actions[i]->shortcut().toString(QKeySequence::PortableText), expected[i].second);
  }
  EXPECT_EQ(keys.size(), actions.size());
}

TEST(UserGuide, IsFoundInstalledBesideTheProgramElseInTheSources) {
  QTemporaryDir dir;
  const QDir root(dir.path());
  ASSERT_TRUE(root.mkpath("bin") && root.mkpath("share/doc/zeltano-redurir") && root.mkpath("src"));
  const auto touch = [](const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  };
  const QString source = root.filePath("src/felhasznaloi-utmutato.md");
  const QString installed = root.filePath("share/doc/zeltano-redurir/felhasznaloi-utmutato.html");
  const QString bin = root.filePath("bin");
  EXPECT_EQ(FindUserGuide(bin, source), "");
  touch(source);
  EXPECT_EQ(FindUserGuide(bin, source), source);
  touch(installed);
  EXPECT_EQ(FindUserGuide(bin, source), installed);
}

TEST(UserGuide, F1OpensTheGuide) {
  WindowFixture f;
  QList<QUrl> opened;
  f.window->SetUrlOpener([&opened](const QUrl& url) {
    opened << url;
    return true;
  });
  f.ShowActive();
  QTest::keyClick(f.window.get(), Qt::Key_F1);
  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(opened[0].toLocalFile(), FindUserGuide());
  EXPECT_TRUE(QFile::exists(opened[0].toLocalFile()));
  EXPECT_TRUE(f.reporter.problems.empty());
}

}  // namespace
}  // namespace zr::test
