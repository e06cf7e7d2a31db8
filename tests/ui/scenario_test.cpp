// Scenarios that last: save and open the sixteen box texts, refuse what is
// not a scenario without touching the window, and the command line.

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "scenario_file.h"
#include "ui_test_support.h"
#include "window_command_line.h"

namespace zr::test {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& content) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(content);
}

InputTexts Boxes(const WindowFixture& f) {
  InputTexts texts;
  for (const Field field : kAllFields) texts[Index(field)] = f.Box(field)->text().toStdString();
  return texts;
}

TEST(Scenario, SavedTextsOpenAsTheyWereAndTheFileIsOneEvaluatorLine) {
  QTemporaryDir dir;
  const QString path = dir.filePath("haz.zeltano.json");
  WindowFixture saver;
  saver.CalculateWith({{Field::Beruhazas, "1200000"}, {Field::Tamogatas, "33,333"}});
  saver.Box(Field::Energiaar)->setText("22 \"ár\"");  // typed, not yet calculated
  ASSERT_TRUE(saver.window->SaveScenario(path));
  EXPECT_EQ(saver.window->ScenarioPath(), path);

  const QByteArray content = ReadAll(path);
  EXPECT_TRUE(content.endsWith('\n'));
  EXPECT_EQ(content.count('\n'), 1);
  const QJsonObject object = QJsonDocument::fromJson(content).object();
  ASSERT_EQ(object.size(), 16);
  EXPECT_EQ(object.keys().size(), 16);
  EXPECT_EQ(object.value("Tamogatas").toString(), "33,333");
  EXPECT_EQ(object.value("Energiaar").toString(), "22 \"ár\"");

  WindowFixture opener;
  ASSERT_TRUE(opener.window->OpenScenario(path));
  EXPECT_EQ(opener.window->ScenarioPath(), path);
  // Opening calculates, and the wrong Energiaar is reported and replaced as
  // if it had been typed: while its message is open, the boxes hold the
  // saved texts.
  ASSERT_EQ(opener.reporter.messages.size(), 1u);
  EXPECT_EQ(opener.reporter.messages[0].text, "Adjon meg számot!");
  EXPECT_EQ(opener.reporter.messages[0].boxes, Boxes(saver));
  EXPECT_EQ(opener.Label("Valberuhazasb"), "800004");
}

TEST(Scenario, ASavedFileGivesTheEvaluatorTheWindowsFigures) {
  QTemporaryDir dir;
  const QString path = dir.filePath("bolt.zeltano.json");
  WindowFixture f;
  f.CalculateWith({{Field::Akoll, "12"}, {Field::Energiaarvalt, "9"}});
  ASSERT_TRUE(f.window->SaveScenario(path));

  QProcess eval;
  eval.setStandardInputFile(path);
  eval.start(ZELTANO_EVAL_PATH, {});
  ASSERT_TRUE(eval.waitForFinished(10000));
  EXPECT_EQ(eval.exitCode(), 0);
  const QJsonObject labels =
      QJsonDocument::fromJson(eval.readAllStandardOutput()).object().value("labels").toObject();
  for (std::size_t i = 0; i < kResultLabelCount; ++i) {
    const QString name = QString::fromUtf8(LabelName(static_cast<ResultLabel>(i)));
    EXPECT_EQ(labels.value(name).toString(), f.Label(name.toUtf8().constData()))
        << name.toStdString();
  }
}

// The carrier the helper wrote box 15 with goes into the file as its four
// keys, marks the scenario changed, opens again with it, and the Elemzés
// window shows its avoided CO₂; the evaluator still takes the file.
TEST(Scenario, TheCarrierIsSavedAndOpensAgainWithItsAvoidedCo2) {
  QTemporaryDir dir;
  const QString path = dir.filePath("pellet.zeltano.json");
  const CarrierChoice pellets{Carrier::Pellets, "140", "85", "0,03"};
  WindowFixture saver;
  ASSERT_TRUE(saver.window->SaveScenario(path));
  const QByteArray without = ReadAll(path);
  saver.window->SetCarrier(pellets);
  EXPECT_TRUE(saver.window->isWindowModified());
  ASSERT_TRUE(saver.window->SaveScenario(path));
  EXPECT_FALSE(saver.window->isWindowModified());
  const QJsonObject object = QJsonDocument::fromJson(ReadAll(path)).object();
  EXPECT_EQ(object.size(), 20);
  EXPECT_EQ(object.value("Energiahordozo").toString(), "Fapellet");
  EXPECT_EQ(object.value("Hatasfok").toString(), "85");

  WindowFixture opener;
  ASSERT_TRUE(opener.window->OpenScenario(path));
  EXPECT_EQ(opener.window->Carrier(), pellets);
  EXPECT_FALSE(opener.window->isWindowModified());
  EXPECT_TRUE(opener.reporter.messages.empty());
  // 6 m² × 600 kWh at 85 % with 0,03 kg/kWh: 127,06 kg a year, 3,18 t in 25 years.
  const QString co2 = opener.window->ReportOfLastRun().avoided_co2.value_or("");
  EXPECT_TRUE(co2.startsWith("Elkerült CO₂: évente 127,06 kg, 25 év alatt 3,18 t."))
      << co2.toStdString();
  EXPECT_TRUE(co2.contains("Fapellet")) << co2.toStdString();

  // A file without the keys has no carrier; opening one forgets the former.
  WriteAll(path, without);
  ASSERT_TRUE(opener.window->OpenScenario(path));
  EXPECT_FALSE(opener.window->Carrier().has_value());
  EXPECT_FALSE(opener.window->ReportOfLastRun().avoided_co2.has_value());

  QProcess eval;
  eval.setStandardInputFile(path);
  eval.start(ZELTANO_EVAL_PATH, {});
  ASSERT_TRUE(eval.waitForFinished(10000));
  EXPECT_EQ(eval.exitCode(), 0);
}

// The title names the scenario's file and marks it while the boxes differ
// from it; a typed-back text clears the mark.
TEST(Scenario, TheTitleNamesTheFileAndMarksAChange) {
  QTemporaryDir dir;
  WindowFixture f;
  EXPECT_EQ(f.window->windowTitle(), "Zeltano-Redurir");
  f.Box(Field::Kamatlab)->setText("5");
  EXPECT_FALSE(f.window->isWindowModified());  // no scenario: nothing to mark

  ASSERT_TRUE(f.window->SaveScenario(dir.filePath("haz.zeltano.json")));
  EXPECT_EQ(f.window->windowTitle(), "haz.zeltano.json[*] – Zeltano-Redurir");
  EXPECT_FALSE(f.window->isWindowModified());
  f.Box(Field::Kamatlab)->setText("4");
  EXPECT_TRUE(f.window->isWindowModified());
  f.Box(Field::Kamatlab)->setText("5");
  EXPECT_FALSE(f.window->isWindowModified());

  // Another file opened: its name, unmarked; Save As moves the name along.
  const QString other = dir.filePath("masik[*].zeltano.json");
  WriteAll(other, R"({"Kamatlab":"7"})");
  ASSERT_TRUE(f.window->OpenScenario(other));
  EXPECT_EQ(f.window->windowTitle(), "masik[*][*].zeltano.json[*] – Zeltano-Redurir");
  EXPECT_FALSE(f.window->isWindowModified());
  f.CalculateWith({{Field::Kamatlab, "8"}});
  EXPECT_TRUE(f.window->isWindowModified());
  ASSERT_TRUE(f.window->SaveScenario(dir.filePath("uj.zeltano.json")));
  EXPECT_EQ(f.window->windowTitle(), "uj.zeltano.json[*] – Zeltano-Redurir");
  EXPECT_FALSE(f.window->isWindowModified());
}

// Closing asks only when a scenario has changed since it was opened or
// saved; each answer does what its button says.
TEST(Scenario, ClosingAChangedScenarioAsksWhetherToSave) {
  QTemporaryDir dir;
  const QString path = dir.filePath("haz.zeltano.json");
  struct Case {
    bool scenario;
    bool changed;
    UnsavedAnswer answer;
    bool asked, closed;
    const char* Kamatlab_in_file;  // after the close
  };
  const Case cases[] = {
      {false, true, UnsavedAnswer::kCancel, false, true, nullptr},
      {true, false, UnsavedAnswer::kCancel, false, true, "6"},
      {true, true, UnsavedAnswer::kCancel, true, false, "6"},
      {true, true, UnsavedAnswer::kDiscard, true, true, "6"},
      {true, true, UnsavedAnswer::kSave, true, true, "9"},
  };
  for (const Case& c : cases) {
    const auto name = QString("scenario %1, changed %2, answer %3")
                          .arg(c.scenario)
                          .arg(c.changed)
                          .arg(static_cast<int>(c.answer))
                          .toStdString();
    QFile::remove(path);
    WindowFixture f;
    AnsweringChooser chooser;
    chooser.unsaved = c.answer;
    f.window->SetFileChooser(chooser);
    f.ShowActive();
    if (c.scenario) {
      ASSERT_TRUE(f.window->SaveScenario(path)) << name;
    }
    if (c.changed) f.Box(Field::Kamatlab)->setText("9");
    // The Exit button closes through the same question.
    QTest::mouseClick(f.Child<QPushButton>("Command2"), Qt::LeftButton);
    EXPECT_EQ(chooser.asked_unsaved.size(), c.asked ? 1u : 0u) << name;
    if (c.asked) {
      EXPECT_EQ(chooser.asked_unsaved[0], QDir::toNativeSeparators(path)) << name;
    }
    EXPECT_EQ(f.window->isVisible(), !c.closed) << name;
    if (c.Kamatlab_in_file) {
      EXPECT_EQ(QJsonDocument::fromJson(ReadAll(path)).object().value("Kamatlab").toString(),
                c.Kamatlab_in_file)
          << name;
    }
  }
}

TEST(Scenario, MissingFieldsTakeTheirStartUpTexts) {
  QTemporaryDir dir;
  const QString path = dir.filePath("reszleges.json");
  WriteAll(path, R"({"Tamogatas":"50"})");
  WindowFixture f;
  f.Box(Field::Qkoll)->setText("700");
  ASSERT_TRUE(f.window->OpenScenario(path));
  EXPECT_EQ(f.Box(Field::Tamogatas)->text(), "50");
  EXPECT_EQ(f.Box(Field::Qkoll)->text(), "600");
  EXPECT_EQ(f.Label("Valberuhazasb"), "500000");
}

struct BadFile {
  const char* name;
  QByteArray content;
  const char* reason;
};

class BadFileTest : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadFileTest, IsRefusedWithAReasonAndChangesNothing) {
  const BadFile& c = GetParam();
  QTemporaryDir dir;
  const QString path = dir.filePath("rossz.zeltano.json");
  WriteAll(path, c.content);
  WindowFixture f;
  f.Box(Field::Qkoll)->setText("700");  // typed, not calculated
  const CarrierChoice lpg{Carrier::Lpg, "650", "85", "0,227"};
  f.window->SetCarrier(lpg);
  const InputTexts before = Boxes(f);
  const QString payback = f.Label("L");

  EXPECT_FALSE(f.window->OpenScenario(path));
  ASSERT_EQ(f.reporter.problems.size(), 1u);
  EXPECT_EQ(f.reporter.problems[0].first, "Forgatókönyv megnyitása");
  EXPECT_TRUE(f.reporter.problems[0].second.contains(path));
  EXPECT_TRUE(f.reporter.problems[0].second.contains(QString::fromUtf8(c.reason)))
      << f.reporter.problems[0].second.toStdString();
  EXPECT_EQ(Boxes(f), before);
  EXPECT_EQ(f.window->Carrier(), lpg);  // nothing half-loaded
  EXPECT_EQ(f.Label("L"), payback);
  EXPECT_TRUE(f.reporter.messages.empty());
  EXPECT_EQ(f.window->ScenarioPath(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadFileTest,
    ::testing::Values(
        BadFile{"Empty", "", "nem érvényes JSON-objektum"},
        BadFile{"Malformed", R"({"Akoll":"6")", "nem érvényes JSON-objektum"},
        BadFile{"TwoLines", "{\"Akoll\":\"6\"}\n{\"Akoll\":\"7\"}\n", "nem érvényes JSON-objektum"},
        BadFile{"Array", R"(["6"])", "nem JSON-objektum"},
        BadFile{"String", R"("6")", "nem JSON-objektum"},
        BadFile{"UnknownKey", R"({"Akoll":"6","Szin":"kek"})", "Ismeretlen mező: „Szin”"},
        BadFile{"NumberValue", R"({"Akoll":6})", "Nem szöveg a mező értéke: „Akoll”"},
        BadFile{"NestedValue", R"({"Akoll":{"a":"6"}})", "Nem szöveg a mező értéke: „Akoll”"},
        BadFile{"NullValue", R"({"Akoll":null})", "Nem szöveg a mező értéke: „Akoll”"},
        BadFile{"DuplicateKey", R"({"Akoll":"6","Akoll":"7"})", "Kétszer szereplő mező: „Akoll”"},
        BadFile{"UnknownCarrier", R"({"Akoll":"6","Energiahordozo":"Szen","Hatasfok":"80"})",
                "Ismeretlen energiahordozó: „Szen”"},
        BadFile{"EfficiencyOverHundred", R"({"Energiahordozo":"Foldgaz","Hatasfok":"120"})",
                "legfeljebb 100 %"},
        BadFile{"InvalidUtf8", "{\"Akoll\":\"\xff\"}", "nem érvényes JSON-objektum"},
        BadFile{"Huge", QByteArray("{\"Akoll\":\"") + QByteArray(1024 * 1024, '6') + "\"}",
                "túl nagy"},
        BadFile{"DeeplyNested", QByteArray(500000, '['), "nem JSON-objektum"}),
    [](const auto& info) { return std::string(info.param.name); });

// The limits at their edges: a file of exactly the largest size is read, one
// byte more is not; a key of exactly the longest quoted length is quoted
// whole, a longer one cut at a character.
TEST(Scenario, LimitsAtTheirEdges) {
  const auto refusal = [](const std::string& content) {
    const auto parsed = ParseScenario(content, NumberFormat::Hungarian());
    return std::holds_alternative<std::string>(parsed) ? std::get<std::string>(parsed)
                                                       : std::string("accepted");
  };
  const std::string fields = R"("Akoll":"9"})";
  std::string largest = "{" + std::string(kMaxScenarioBytes - 1 - fields.size(), ' ') + fields;
  ASSERT_EQ(largest.size(), kMaxScenarioBytes);
  EXPECT_EQ(refusal(largest), "accepted");
  EXPECT_EQ(refusal(largest + " "),
            "A fájl túl nagy egy forgatókönyvhöz (legfeljebb 1 MiB lehet).");

  std::string accents;  // 40 bytes
  for (int i = 0; i < 20; ++i) accents += "é";
  const std::pair<std::string, std::string> keys[] = {
      {std::string(40, 'x'), std::string(40, 'x')},
      {std::string(41, 'x'), std::string(40, 'x') + "…"},
      {"x" + accents, "x" + accents.substr(0, 38) + "…"}};
  for (const auto& [key, shown] : keys) {
    EXPECT_EQ(refusal("{\"" + key + "\":\"1\"}"), "Ismeretlen mező: „" + shown + "”.");
  }
}

TEST(Scenario, UnreadablePathsAreRefused) {
  QTemporaryDir dir;
  for (const QString& path : {dir.filePath("nincs-ilyen.zeltano.json"), dir.path()}) {
    WindowFixture f;
    EXPECT_FALSE(f.window->OpenScenario(path));
    ASSERT_EQ(f.reporter.problems.size(), 1u);
    EXPECT_TRUE(f.reporter.problems[0].second.contains("nem olvasható"));
  }
}

TEST(Scenario, SavingReplacesTheWholeFileOrReportsAndLeavesItAlone) {
  QTemporaryDir dir;
  const QString path = dir.filePath("regi.zeltano.json");
  WriteAll(path, QByteArray(5000, 'x'));
  WindowFixture f;
  ASSERT_TRUE(f.window->SaveScenario(path));
  EXPECT_EQ(ReadAll(path).toStdString(), ScenarioText(Boxes(f)));

  const QString nowhere = dir.filePath("nincs-mappa/uj.zeltano.json");
  EXPECT_FALSE(f.window->SaveScenario(nowhere));
  ASSERT_EQ(f.reporter.problems.size(), 1u);
  EXPECT_EQ(f.reporter.problems[0].first, "Forgatókönyv mentése");
  EXPECT_FALSE(QFile::exists(nowhere));
  EXPECT_EQ(f.window->ScenarioPath(), path);  // still the last file saved
  // A directory in the way: nothing written, no temporary file left behind.
  EXPECT_FALSE(f.window->SaveScenario(dir.path()));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"regi.zeltano.json"});
}

TEST(Scenario, ShortcutsSaveUnderTheChosenNameWithTheScenarioSuffix) {
  QTemporaryDir dir;
  WindowFixture f;
  AnsweringChooser chooser;
  f.window->SetFileChooser(chooser);
  f.ShowActive();
  EXPECT_EQ(f.window->contextMenuPolicy(), Qt::ActionsContextMenu);

  chooser.answer = dir.filePath("csaladi-haz");
  QTest::keyClick(f.window.get(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(chooser.suggested, "forgatokonyv.zeltano.json");
  const QString saved = dir.filePath("csaladi-haz.zeltano.json");
  EXPECT_TRUE(QFile::exists(saved));
  EXPECT_EQ(f.window->ScenarioPath(), saved);

  // The next Ctrl+S writes to the same file without asking.
  chooser.answer.clear();
  f.Box(Field::Akoll)->setText("9");
  QTest::keyClick(f.window.get(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(ReadAll(saved).contains(R"("Akoll":"9")"));

  WindowFixture other;
  other.window->SetFileChooser(chooser);
  other.ShowActive();
  chooser.answer = saved;
  QTest::keyClick(other.window.get(), Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(other.Box(Field::Akoll)->text(), "9");
}

struct ArgsCase {
  const char* name;
  QStringList arguments;
  WindowCommandLine::Mode mode;
  QString scenario;
  QString report;
};

class CommandLineTest : public ::testing::TestWithParam<ArgsCase> {};

TEST_P(CommandLineTest, ReadsTheArguments) {
  const ArgsCase& c = GetParam();
  const WindowCommandLine line = ParseWindowCommandLine(c.arguments);
  EXPECT_EQ(line.mode, c.mode);
  EXPECT_EQ(line.scenario, c.scenario);
  EXPECT_EQ(line.report, c.report);
  EXPECT_EQ(line.error.isEmpty(), c.mode != WindowCommandLine::Mode::kError);
}

using Mode = WindowCommandLine::Mode;
INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    ::testing::Values(
        ArgsCase{"Nothing", {}, Mode::kWindow, "", ""},
        ArgsCase{"Scenario", {"a.zeltano.json"}, Mode::kWindow, "a.zeltano.json", ""},
        ArgsCase{"DashDashBeforeAFileName", {"--", "-a.json"}, Mode::kWindow, "-a.json", ""},
        ArgsCase{"Report", {"--report", "o.pdf"}, Mode::kReport, "", "o.pdf"},
        ArgsCase{
            "ReportOfAScenario", {"--report", "o.pdf", "a.json"}, Mode::kReport, "a.json", "o.pdf"},
        ArgsCase{
            "ReportWithEquals", {"a.json", "--report=o.pdf"}, Mode::kReport, "a.json", "o.pdf"},
        ArgsCase{"Help", {"a.json", "--help"}, Mode::kHelp, "", ""},
        ArgsCase{"Version", {"--version"}, Mode::kVersion, "", ""},
        ArgsCase{"ReportWithoutFile", {"--report"}, Mode::kError, "", ""},
        ArgsCase{"ReportEmptyFile", {"--report="}, Mode::kError, "", ""},
        ArgsCase{"TwoScenarios", {"a.json", "b.json"}, Mode::kError, "", ""},
        ArgsCase{"UnknownOption", {"--verbose"}, Mode::kError, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Program, AnswersHelpAndVersionOnTheTerminalWithoutADisplay) {
  const std::pair<const char*, const char*> cases[] = {
      {"--help", "Használat: zeltano-redurir [FÁJL]\n"},
      {"--version", "zeltano-redurir " ZELTANO_VERSION "\n"}};
  for (const auto& [option, start] : cases) {
    QProcess program;
    program.setProcessEnvironment(QProcessEnvironment());
    program.start(ZELTANO_PROGRAM_PATH, {option});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0) << option;
    EXPECT_TRUE(QString::fromUtf8(program.readAllStandardOutput()).startsWith(start)) << option;
    EXPECT_EQ(program.readAllStandardError(), "") << option;
  }
}

}  // namespace
}  // namespace zr::test
