// The window's handlers: the start-up run, Calculate with its messages and
// replacements, a run that ends on an arithmetic fault, Exit, access keys.

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTimer>
#include <array>

#include "calculation_run.h"
#include "ui_test_support.h"
#include "validation.h"

namespace zr::test {
namespace {

// The value labels' control names, in the order the run writes them.
std::string ValueLabel(std::size_t i) {
  return std::string(LabelName(static_cast<ResultLabel>(i)));
}

std::array<QString, kResultLabelCount> ValueTexts(const WindowFixture& f) {
  std::array<QString, kResultLabelCount> texts;
  for (std::size_t i = 0; i < kResultLabelCount; ++i) texts[i] = f.Label(ValueLabel(i).c_str());
  return texts;
}

TEST(StartUp, FillsEveryValueLabelBeforeTheFirstShowWithoutAMessage) {
  WindowFixture f;
  EXPECT_FALSE(f.window->isVisible());
  EXPECT_TRUE(f.reporter.messages.empty());
  const std::array<QString, kResultLabelCount> expected = {"1000000", "3600",  "78200", "6675",
                                                           "4614",    "2670",  "92159", "26",
                                                           "132790",  "40631", "16,68"};
  EXPECT_EQ(ValueTexts(f), expected);
}

TEST(StartUp, FollowsTheRegionalDecimalSeparator) {
  RecordingReporter reporter;
  MainWindow window(reporter, NumberFormat{"."});
  EXPECT_EQ(window.findChild<QLineEdit*>("Karbkoltsb")->text(), "0.5");
  EXPECT_EQ(window.findChild<QLineEdit*>("Egyebkoltsb")->text(), "0.2");
  EXPECT_EQ(window.findChild<QLabel*>("L")->text(), "16.68");
  EXPECT_TRUE(reporter.messages.empty());
}

TEST(Calculate, ClickAndAccessKeysGiveTheSameLabels) {
  WindowFixture clicked;
  const auto startup = ValueTexts(clicked);
  clicked.Box(Field::Energiaar)->setText("25");
  // Editing alone changes nothing until Calculate.
  EXPECT_EQ(ValueTexts(clicked), startup);
  QTest::mouseClick(clicked.Child<QPushButton>("Command1"), Qt::LeftButton);
  const auto expected = ValueTexts(clicked);
  ASSERT_NE(expected, startup);

  for (const Qt::KeyboardModifiers modifiers :
       {Qt::KeyboardModifiers(Qt::AltModifier), Qt::AltModifier | Qt::ShiftModifier}) {
    WindowFixture keyed;
    keyed.ShowActive();
    keyed.Box(Field::Energiaar)->setText("25");
    QTest::keyClick(keyed.window.get(), Qt::Key_S, modifiers);
    EXPECT_TRUE(WaitFor([&] { return ValueTexts(keyed) != startup; })) << modifiers.toInt();
    EXPECT_EQ(ValueTexts(keyed), expected);
    EXPECT_TRUE(keyed.reporter.messages.empty());
  }
}

TEST(Calculate, ReportsWrongBoxesInOrderAndWritesEachReplacementAfterItsMessage) {
  WindowFixture f;
  const QString startup_eveskolts = f.Label("Eveskoltsb");
  f.CalculateWith({{Field::Elettartam, "0"}, {Field::Qkoll, "abc"}, {Field::Energiaarvalt, "200"}});

  ASSERT_EQ(f.reporter.messages.size(), 3u);
  EXPECT_EQ(f.reporter.messages[0].text, "Az élettartam 1 és 50 év között lehet!");
  EXPECT_EQ(f.reporter.messages[1].text, "Adjon meg számot!");
  EXPECT_EQ(f.reporter.messages[2].text,
            "A kiváltott energiahordozó árának éves változása 0 és 100 % között lehet!");
  // While a message is open its box still holds the wrong text, the boxes
  // before it their replacements, the labels the previous run's texts and
  // the chart box has been cleared.
  const auto& m = f.reporter.messages;
  EXPECT_EQ(m[0].boxes[Index(Field::Elettartam)], "0");
  EXPECT_EQ(m[1].boxes[Index(Field::Elettartam)], "20");
  EXPECT_EQ(m[1].boxes[Index(Field::Qkoll)], "abc");
  EXPECT_EQ(m[2].boxes[Index(Field::Qkoll)], "600");
  EXPECT_EQ(m[2].boxes[Index(Field::Energiaarvalt)], "200");
  for (const RecordedMessage& message : m) {
    EXPECT_EQ(message.eveskolts, startup_eveskolts);
    EXPECT_TRUE(message.chart_cleared);
  }

  EXPECT_EQ(f.Box(Field::Elettartam)->text(), "20");
  EXPECT_EQ(f.Box(Field::Qkoll)->text(), "600");
  EXPECT_EQ(f.Box(Field::Energiaarvalt)->text(), "8");
  // The results are those of the replacements.
  InputTexts corrected = StartupTexts(NumberFormat::Hungarian());
  corrected[Index(Field::Elettartam)] = "20";
  corrected[Index(Field::Energiaarvalt)] = "8";
  const RunOutcome outcome = CalculationRun(corrected, NumberFormat::Hungarian());
  for (std::size_t i = 0; i < kResultLabelCount; ++i) {
    EXPECT_EQ(f.Label(ValueLabel(i).c_str()).toStdString(), outcome.labels[i].value_or(""))
        << ValueLabel(i);
  }
  EXPECT_NE(f.Label("Eveskoltsb"), startup_eveskolts);
}

TEST(Calculate, AFaultEmptiesTheLabelsTheRunDidNotReach) {
  WindowFixture f;
  f.CalculateWith({{Field::Akoll, "100000000000"}});

  ASSERT_EQ(f.reporter.messages.size(), 1u);
  EXPECT_EQ(f.reporter.messages[0].text.toStdString(), kFaultMessage);
  EXPECT_EQ(f.Label("Valberuhazasb"), "1000000");
  for (std::size_t i = 1; i < kResultLabelCount; ++i) {
    EXPECT_EQ(f.Label(ValueLabel(i).c_str()), "") << ValueLabel(i);
  }
  EXPECT_EQ(f.Box(Field::Akoll)->text(), "100000000000");
}

TEST(Calculate, TheRealMessageBoxIsAWarningWithOneOkButton) {
  MessageBoxErrorReporter reporter;
  MainWindow window(reporter, NumberFormat::Hungarian());
  window.show();
  auto* box = window.findChild<QLineEdit*>("Elettartamb");
  box->setText("0");

  struct Seen {
    QString title, text, box_text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
  } seen;
  int boxes = 0;
  QTimer closer;
  closer.setInterval(20);
  QObject::connect(&closer, &QTimer::timeout, [&] {
    auto* message = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (message == nullptr) return;
    ++boxes;
    seen = {message->windowTitle(), message->text(), box->text(), message->icon(),
            message->standardButtons()};
    message->button(QMessageBox::Ok)->click();
  });
  closer.start();
  QTest::mouseClick(window.findChild<QPushButton*>("Command1"), Qt::LeftButton);
  closer.stop();

  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(seen.title, "HIBÁS ADAT");
  EXPECT_EQ(seen.text, "Az élettartam 1 és 50 év között lehet!");
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  EXPECT_EQ(seen.box_text, "0");  // replaced only after the box was closed
  EXPECT_EQ(box->text(), "20");
}

TEST(Exit, ClickAndAccessKeysCloseTheWindow) {
  {
    WindowFixture f;
    f.ShowActive();
    QTest::mouseClick(f.Child<QPushButton>("Command2"), Qt::LeftButton);
    EXPECT_FALSE(f.window->isVisible());
    EXPECT_TRUE(f.reporter.messages.empty());
  }
  for (const Qt::KeyboardModifiers modifiers :
       {Qt::KeyboardModifiers(Qt::AltModifier), Qt::AltModifier | Qt::ShiftModifier}) {
    WindowFixture f;
    f.ShowActive();
    QTest::keyClick(f.window.get(), Qt::Key_K, modifiers);
    EXPECT_TRUE(WaitFor([&] { return !f.window->isVisible(); })) << modifiers.toInt();
  }
}

TEST(Keys, EnterAndEscapeInAnInputBoxPressNoButton) {
  WindowFixture f;
  f.ShowActive();
  for (const char* name : {"Command1", "Command2"}) {
    EXPECT_FALSE(f.Child<QPushButton>(name)->autoDefault()) << name;
    EXPECT_FALSE(f.Child<QPushButton>(name)->isDefault()) << name;
  }
  const auto startup = ValueTexts(f);
  QLineEdit* box = f.Box(Field::Energiaar);
  box->setFocus();
  box->setText("25");
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
    QTest::keyClick(box, key);
  }
  QTest::qWait(300);  // longer than a button's animated click
  EXPECT_TRUE(f.window->isVisible());
  EXPECT_EQ(ValueTexts(f), startup);
  EXPECT_EQ(box->text(), "25");
}

}  // namespace
}  // namespace zr::test
