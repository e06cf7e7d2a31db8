// A real full disk: every kind of file the window writes (scenario, report,
// chart as PNG and as SVG) keeps its old content when the disk is full, and
// the user is told why. Runs on a small file system of its own (see
// on_small_disk.sh), named by ZELTANO_SMALL_DISK; skipped elsewhere.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <functional>

#include "ui_test_support.h"

namespace zr::test {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Takes every free byte of the file system `dir` is on.
void FillUp(const QString& dir) {
  QFile filler(QDir(dir).filePath("filler"));
  ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
  const QByteArray block(4096, 'f');
  while (filler.write(block) == block.size()) {
  }
  for (qint64 n = 1; n > 0;) n = filler.write(block.constData(), 1);  // the last bytes
}

TEST(FullDisk, EveryKindOfFileKeepsItsOldContentAndTheUserIsTold) {
  const char* small_disk = std::getenv("ZELTANO_SMALL_DISK");
  if (small_disk == nullptr) GTEST_SKIP() << "needs a small file system of its own";
  const QDir dir(QString::fromLocal8Bit(small_disk));
  WindowFixture f;
  using Save = std::function<bool(const QString&)>;
  const std::pair<const char*, Save> files[] = {
      {"haz.zeltano.json", [&](const QString& p) { return f.window->SaveScenario(p); }},
      {"jelentes.pdf", [&](const QString& p) { return f.window->WriteReportTo(p); }},
      {"grafikon.png", [&](const QString& p) { return f.window->SaveChartImage(p); }},
      {"grafikon.svg", [&](const QString& p) { return f.window->SaveChartImage(p); }},
  };
  for (const auto& [name, save] : files) ASSERT_TRUE(save(dir.filePath(name))) << name;
  std::vector<QByteArray> before;
  for (const auto& [name, save] : files) before.push_back(ReadAll(dir.filePath(name)));

  f.CalculateWith({{Field::Beruhazas, "2000000"}});  // something new to write
  FillUp(dir.path());
  for (std::size_t i = 0; i < std::size(files); ++i) {
    const auto& [name, save] = files[i];
    EXPECT_FALSE(save(dir.filePath(name))) << name;
    EXPECT_EQ(ReadAll(dir.filePath(name)), before[i]) << name;
    ASSERT_EQ(f.reporter.problems.size(), i + 1) << name;
    EXPECT_TRUE(f.reporter.problems[i].second.contains("Nincs elég szabad hely a lemezen."))
        << f.reporter.problems[i].second.toStdString();
  }
  EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden).size(), std::size(files) + 1)
      << "a temporary file was left behind";
}

}  // namespace
}  // namespace zr::test
