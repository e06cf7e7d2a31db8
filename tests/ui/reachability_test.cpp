// Everyone can reach everything: on a screen too small for the window, a
// screen reader's names, a visible focus.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QFont>
#include <QScrollArea>
#include <QScrollBar>

#include "screen_fit.h"
#include "ui_test_support.h"

namespace zr::test {
namespace {

// Each screen's available area in logical pixels, and how the window is
// shown there: as it is, smaller as a whole, or at the smallest legible
// scale in a scrolling frame.
struct ScreenCase {
  const char* name;
  QRect available;
  qreal scale;
  bool scrolls = false;
};

void PrintTo(const ScreenCase& c, std::ostream* os) { *os << c.name; }

class ScreenFitTest : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(ScreenFitTest, TheWindowIsShownWholeAndEveryControlCanBeReached) {
  const ScreenCase& c = GetParam();
  RecordingReporter reporter;
  auto owned = std::make_unique<MainWindow>(reporter, NumberFormat::Hungarian());
  MainWindow* window = owned.get();
  const QString payback = window->findChild<QLabel*>("L")->text();
  const auto shown = FitToScreen(std::move(owned), c.available);
  auto* scroll = qobject_cast<QScrollArea*>(shown.get());
  EXPECT_EQ(scroll != nullptr, c.scrolls);
  EXPECT_EQ(scroll != nullptr ? scroll->widget() : shown.get(), window);
  EXPECT_EQ(shown->windowTitle(), "Zeltano-Redurir");
  EXPECT_TRUE(FitsScreen(shown->size(), c.available)) << shown->width() << "x" << shown->height();
  EXPECT_DOUBLE_EQ(window->Scale(), c.scale);
  // The form as one: its size and the payback's font with it.
  EXPECT_EQ(window->size(),
            QSize(static_cast<int>(950 * c.scale), static_cast<int>(592 * c.scale)));
  EXPECT_NEAR(window->findChild<QLabel*>("L")->font().pointSizeF(),
              ScaledPoints(9.75, c.scale, window->logicalDpiY()), 1e-9);
  EXPECT_EQ(window->findChild<QLabel*>("L")->text(), payback);

  shown->show();
  (void)QTest::qWaitForWindowExposed(shown.get());
  for (const char* name : {"Command1", "Command2", "Elettartamb", "Energiaarvaltb", "graf"}) {
    auto* control = window->findChild<QWidget*>(name);
    EXPECT_TRUE(window->rect().contains(control->geometry())) << name;
    if (scroll != nullptr) {
      scroll->ensureWidgetVisible(control);
      const QRect on_screen(control->mapTo(scroll->viewport(), QPoint(0, 0)), control->size());
      EXPECT_TRUE(scroll->viewport()->rect().contains(on_screen)) << name;
    }
  }
  // The boxes are real: typed into, calculated, read by a screen reader.
  QLineEdit* box = window->findChild<QLineEdit*>("Akollb");
  box->setFocus();
  box->selectAll();
  QTest::keyClicks(box, "12");
  QTest::mouseClick(window->findChild<QPushButton*>("Command1"), Qt::LeftButton);
  EXPECT_NE(window->findChild<QLabel*>("L")->text(), payback);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name),
            "Hasznos napkollektor felület, Akoll [m2]");
  // Exit closes what is shown, which ends the program.
  QTest::mouseClick(window->findChild<QPushButton*>("Command2"), Qt::LeftButton);
  EXPECT_FALSE(shown->isVisible());
}

INSTANTIATE_TEST_SUITE_P(SmallScreen, ScreenFitTest,
                         ::testing::Values(
                             // 1920 × 1080 less a panel, at 100 % and 150 %: as it is.
                             ScreenCase{"FullHdAt100", QRect(0, 0, 1920, 1040), 1},
                             ScreenCase{"FullHdAt150", QRect(0, 0, 1280, 693), 1},
                             // At 200 %: 960 × 513, the height sets the scale.
                             ScreenCase{"FullHdAt200", QRect(0, 0, 960, 513), 0.78},
                             ScreenCase{"Small1000x600", QRect(0, 0, 1000, 600), 0.93},
                             // 200 % of 1280 × 1024: even the smallest legible scale is too wide.
                             ScreenCase{"SxgaAt200", QRect(0, 0, 640, 512), kMinimumFormScale,
                                        true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The "Elemzés" window likewise: its fonts and size scaled alike.
TEST(SmallScreen, TheAnalysisWindowIsScaledToTheScreenToo) {
  for (const auto& [available, scale] : {std::pair{QRect(0, 0, 1920, 1040), qreal{1}},
                                         std::pair{QRect(0, 0, 960, 513), qreal{0.8}}}) {
    QWidget window;
    window.setFont(QFont("Liberation Sans", 10));
    auto* caption = new QLabel("Elemzés", &window);
    caption->setFont(QFont("Liberation Sans", 12, QFont::Bold));
    window.resize(940, 580);
    EXPECT_DOUBLE_EQ(FitLaidOutWindow(window, available), scale);
    EXPECT_TRUE(FitsScreen(window.size(), available));
    const auto points = [&](qreal laid_out) {
      return scale == 1 ? laid_out : ScaledPoints(laid_out, scale, window.logicalDpiY());
    };
    EXPECT_NEAR(window.font().pointSizeF(), points(10), 1e-9);
    EXPECT_NEAR(caption->font().pointSizeF(), points(12), 1e-9);
  }
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
