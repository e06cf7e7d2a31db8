// Everyone can reach everything: on a screen too small for the window, a
// screen reader's names, a visible focus.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QScrollArea>
#include <QScrollBar>

#include "screen_fit.h"
#include "ui_test_support.h"

namespace zr::test {
namespace {

TEST(SmallScreen, AWindowThatFitsIsShownAsItIs) {
  auto window = std::make_unique<QWidget>();
  window->setFixedSize(950, 592);
  QWidget* raw = window.get();
  const auto shown = FitToScreen(std::move(window), QRect(0, 0, 1280, 1024));
  EXPECT_EQ(shown.get(), raw);
}

TEST(SmallScreen, AWindowTooLargeScrollsAndEveryButtonCanBeReached) {
  RecordingReporter reporter;
  auto owned = std::make_unique<MainWindow>(reporter, NumberFormat::Hungarian());
  MainWindow* window = owned.get();
  // 200 % of a 1280 × 1024 screen: 640 × 512 logical pixels.
  const QRect available(0, 0, 640, 512);
  const auto shown = FitToScreen(std::move(owned), available);
  auto* scroll = qobject_cast<QScrollArea*>(shown.get());
  ASSERT_NE(scroll, nullptr);
  EXPECT_EQ(scroll->widget(), window);
  EXPECT_EQ(scroll->windowTitle(), "Zeltano-Redurir");
  EXPECT_TRUE(FitsScreen(scroll->size(), available));
  EXPECT_EQ(window->size(), QSize(950, 592));  // the layout itself is unchanged

  scroll->show();
  (void)QTest::qWaitForWindowExposed(scroll);
  for (const char* name : {"Command1", "Command2", "Elettartamb", "graf"}) {
    auto* control = window->findChild<QWidget*>(name);
    scroll->ensureWidgetVisible(control);
    const QRect on_screen(control->mapTo(scroll->viewport(), QPoint(0, 0)), control->size());
    EXPECT_TRUE(scroll->viewport()->rect().contains(on_screen)) << name;
  }
  // Exit closes the scrolling frame, which ends the program.
  QTest::mouseClick(window->findChild<QPushButton*>("Command2"), Qt::LeftButton);
  EXPECT_FALSE(scroll->isVisible());
}

TEST(ScreenReader, ValueLabelsAreNamedByTheirCaptionsAndReadTheirFigures) {
  WindowFixture f;
  const std::pair<const char*, const char*> rows[] = {
      {"Valberuhazasb", "Támogatással csökkentett beruházási költség, [Ft]:"},
      {"Hozamb", "Napkollektoros rendszer éves energiahozama, [kWh/év]:"},
      {"Szolarhoarb", "Szolárhő ára, [Ft/kWh]:"},
      {"Egyenlegb", "Egyenleg, [Ft]:"},
      {"L", "Megtérülési idő [év]:"}};
  for (const auto& [name, caption] : rows) {
    auto* label = f.Child<QLabel>(name);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(label);
    ASSERT_NE(accessible, nullptr) << name;
    EXPECT_EQ(accessible->text(QAccessible::Name), caption) << name;
    EXPECT_EQ(accessible->text(QAccessible::Description), label->text()) << name;
  }
  // Every value label has a name, none is a bare number.
  for (std::size_t i = 0; i < kResultLabelCount; ++i) {
    const auto* label =
        f.window->findChild<QLabel*>(QString::fromUtf8(LabelName(static_cast<ResultLabel>(i))));
    EXPECT_TRUE(label->accessibleName().endsWith(':')) << i;
  }
}

TEST(ScreenReader, PanelsAndTheChartHaveNamesAndTheChartSaysWhatItShows) {
  WindowFixture f;
  for (const char* name : {"Picture1", "Picture2", "Picture3", "graf"}) {
    EXPECT_FALSE(f.Child(name)->accessibleName().isEmpty()) << name;
  }
  auto* graf = f.Child("graf");
  EXPECT_TRUE(graf->accessibleDescription().contains("Megtérülési idő: 16,68 év"));
  EXPECT_TRUE(graf->accessibleDescription().contains("eléri a költséget"));
  f.CalculateWith({{Field::Beruhazas, "82304567,2345"}});
  EXPECT_TRUE(graf->accessibleDescription().contains("Megtérülési idő: nincs"));
  EXPECT_TRUE(graf->accessibleDescription().contains("sem éri el a költséget"));
}

TEST(Focus, PanelsAndTheChartShowWhereTheFocusIs) {
  WindowFixture f;
  f.ShowActive();
  for (const char* name : {"graf", "Picture1", "Picture2", "Picture3"}) {
    QWidget* control = f.Child(name);
    f.Box(Field::Elettartam)->setFocus();
    const QImage without = control->grab().toImage();
    control->setFocus();
    ASSERT_TRUE(control->hasFocus()) << name;
    EXPECT_NE(control->grab().toImage(), without) << name;
  }
}

}  // namespace
}  // namespace zr::test
