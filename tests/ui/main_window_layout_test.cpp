// The window's 68 controls as the layout gives them: names, kinds, nesting,
// places in twips, texts, fonts and colours; the tab order; captions that fit.

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <cmath>
#include <optional>
#include <set>

#include "screen_fit.h"
#include "ui_test_support.h"

namespace zr::test {
namespace {

struct Rgb {
  int r, g, b;
};

struct ExpectedFont {
  double points;
  bool bold;
  bool italic = false;
};

struct ControlRow {
  const char* name;
  const char* kind;  // class name, or "Line"
  const char* parent;
  int left, top, width, height;                     // twips, inside the parent's inner area
  std::optional<const char*> text = std::nullopt;   // caption or start-up text
  std::optional<ExpectedFont> font = std::nullopt;  // when not the window's 8.25
  std::optional<Rgb> back = std::nullopt;
  std::optional<Rgb> fore = std::nullopt;
};

constexpr Rgb kYellow{255, 255, 128};
constexpr Rgb kGrey{192, 192, 192};
constexpr Rgb kOrange{255, 128, 0};
constexpr Rgb kDarkRed{128, 0, 0};
constexpr ExpectedFont kRegular{8.25, false};
constexpr ExpectedFont kBold{8.25, true};
constexpr ExpectedFont kHeading{9.75, true};

ControlRow Caption(const char* name, const char* parent, int top, int width, const char* text,
                   ExpectedFont font = kRegular) {
  return {name, "QLabel", parent, 240, top, width, 255, text, font, kYellow};
}
ControlRow Box(const char* name, int top, const char* text, bool wide = false) {
  return {name, "QLineEdit", "Picture2", wide ? 5760 : 6120, top, wide ? 975 : 615, 285, text};
}
ControlRow Result(const char* name, int top, ExpectedFont font = kRegular) {
  return {name, "QLabel", "Picture3", 5220, top, 975, 255, std::nullopt, font, kYellow};
}

const std::vector<ControlRow>& Layout() {
  static const std::vector<ControlRow> rows = {
      {"Command1", "QPushButton", "Zeltano", 8280, 8160, 2295, 615, "&Számítás", kHeading},
      {"Command2", "QPushButton", "Zeltano", 11280, 8160, 2295, 615, "&Kilépés", kHeading},
      {"Picture1", "zr::PictureBox", "Zeltano", 600, 0, 5895, 1095},
      {"Picture2", "zr::PictureBox", "Zeltano", 240, 1200, 7095, 6855, {}, {}, kYellow},
      {"graf", "zr::ChartBox", "Zeltano", 7560, 240, 6495, 3735, {}, {}, kGrey},
      {"Picture3", "zr::PictureBox", "Zeltano", 7560, 4200, 6495, 3855, {}, {}, kYellow},
      {"Label30", "QLabel", "Zeltano", 840, 8520, 2310, 240, "szabad szoftver", kHeading, kOrange,
       kDarkRed},
      {"Label31", "QLabel", "Zeltano", 840, 8220, 2310, 240, "Verzió " ZELTANO_VERSION, kHeading,
       kOrange, kDarkRed},
      {"Label33", "QLabel", "Zeltano", 3900, 8400, 2895, 450, "Zeltano-Redurir",
       ExpectedFont{15.75, true, true}, kOrange, kDarkRed},
      {"Label32", "QLabel", "Picture1", 1380, 900, 1860, 210, "Program verzió: 2010/2", kBold,
       kOrange},
      {"Label29", "QLabel", "Picture2", 120, 120, 3255, 375, "Bemenő, felvett adatok:", kHeading,
       kYellow},
      Caption("Label1", "Picture2", 480, 5655,
              "A vizsgált napkollektoros rendszer várható élettertama/vizsgált időszak, [év]:"),
      Caption("Label2", "Picture2", 840, 5055,
              "A napkollektoros rendszer beruházási költsége, A0 [Ft]:"),
      Caption("Label4", "Picture2", 1200, 5415,
              "Állami, önkormányzati, vagy egyéb beruházási támogatás mértéke, [%]:"),
      Caption("Label3", "Picture2", 1560, 4095,
              "Támogatással csökkentett beruházási költség, [Ft]:"),
      Caption("Label5", "Picture2", 1920, 5895,
              "A napkollektoros rendszer maradványértéke a vizsgát időszak végén, [%]:"),
      Caption("Label6", "Picture2", 2280, 5775, "Referencia kamatláb, p [%]:"),
      Caption("Label15", "Picture2", 2640, 5775, "Hasznos napkollektor felület, Akoll [m2]"),
      Caption("Label16", "Picture2", 3000, 5175,
              "Napkollektorok fajlagos energiahozama, Qkoll [kWh/(m2.év)]"),
      Caption("Label17", "Picture2", 3360, 5175,
              "Éves karbantartási költség a beruházás százalékában, [%]: "),
      Caption("Label18", "Picture2", 3720, 5775,
              "Karbantartási költség éves árváltozása (inflációja), [%]: "),
      Caption("Label19", "Picture2", 4080, 5655,
              "Külső (villamos) energia ára a beruházáskor, [Ft/kWh]"),
      Caption("Label20", "Picture2", 4440, 5655,
              "Éves üzemi költség költség (pl. szivattyú) a haszn.energia százalékában, [%]: "),
      Caption("Label21", "Picture2", 4800, 6015,
              "Üzemi költség éves árváltozása (inflációja), [%]: "),
      Caption("Label22", "Picture2", 5160, 5415,
              "Éves egyéb költség (pl. biztosítás) a beruházás százalékában [%]: "),
      Caption("Label23", "Picture2", 5520, 5655,
              "Egyéb költség éves árváltozása (inflációja), [%]: "),
      Caption("Label24", "Picture2", 5880, 5775,
              "Kiváltott energiahordozó ára a beruházáskor, [Ft/kWh]:"),
      Caption("Label25", "Picture2", 6240, 6495,
              "Kiváltott energiahordozó árának éves árváltozása (inflációja), [%]:"),
      Box("Elettartamb", 480, "25"),
      Box("Beruhazasb", 840, "1000000", true),
      Box("Tamogatasb", 1200, "0"),
      {"Valberuhazasb", "QLabel", "Picture2", 5760, 1560, 975, 255, "1000000", kRegular, kYellow},
      Box("Maradvanyertekb", 1920, "0"),
      Box("Kamatlabb", 2280, "6"),
      Box("Akollb", 2640, "6"),
      Box("Qkollb", 3000, "600"),
      Box("Karbkoltsb", 3360, "0,5"),
      Box("Karbkoltsvaltb", 3720, "3"),
      Box("Villanyarb", 4080, "48"),
      Box("Uzemkoltsb", 4440, "2"),
      Box("Uzemkoltsvaltb", 4800, "3"),
      Box("Egyebkoltsb", 5160, "0,2"),
      Box("Egyebkoltsvaltb", 5520, "3"),
      Box("Energiaarb", 5880, "20"),
      Box("Energiaarvaltb", 6240, "6"),
      {"Label28", "QLabel", "graf", 2760, 600, 2175, 255, "Megtérülési idő [év]:", kHeading, kGrey},
      {"L", "QLabel", "graf", 4920, 600, 855, 255, std::nullopt, kHeading, kGrey},
      {"Label13", "QLabel", "Picture3", 120, 120, 3015, 375, "Számított értékek:", kHeading,
       kYellow},
      Caption("Label12", "Picture3", 480, 4395,
              "Napkollektoros rendszer éves energiahozama, [kWh/év]:"),
      Caption("Label26", "Picture3", 840, 3615, "Beruházás éves költsége, A0 x a [Ft]:"),
      Caption("Label7", "Picture3", 1200, 3615, "Karbantartás éves költsége, [Ft]:"),
      Caption("Label8", "Picture3", 1560, 3255, "Üzemeltetés éves költsége, [Ft]:"),
      Caption("Label9", "Picture3", 1920, 3135, "Egyéb éves költség, [Ft]:"),
      Caption("Label10", "Picture3", 2340, 3735, "Összes éves költség, [Ft]:", kBold),
      Caption("Label14", "Picture3", 2700, 3735, "Megtakarítás éves értéke [Ft]:", kBold),
      Caption("Label27", "Picture3", 3060, 2895, "Egyenleg, [Ft]:", kBold),
      Caption("Label11", "Picture3", 3480, 3615, "Szolárhő ára, [Ft/kWh]:", kBold),
      Result("Hozamb", 480),
      Result("Eveskoltsb", 840),
      Result("Karbeveskoltsb", 1200),
      Result("Uzemeveskoltsb", 1560),
      Result("Egyebeveskoltsb", 1920),
      Result("Osszeskoltsb", 2340, kBold),
      Result("Megtakaritevesb", 2700, kBold),
      Result("Egyenlegb", 3060, kBold),
      Result("Szolarhoarb", 3480, kBold),
      {"Line1", "Line", "Picture3", 240, 2220, 6000, 15},
      {"Line2", "Line", "Picture3", 240, 3360, 6000, 15},
  };
  return rows;
}

QRect Pixels(const ControlRow& row) {
  return QRect(row.left / 15, row.top / 15, row.width / 15, row.height / 15);
}

// One window for the whole table; its start-up run changes no text the
// table checks (the value labels it fills carry no text in the table, and
// Valberuhazasb keeps 1000000).
class LayoutTest : public ::testing::TestWithParam<ControlRow> {
 protected:
  static void SetUpTestSuite() { fixture_ = std::make_unique<WindowFixture>(); }
  static void TearDownTestSuite() { fixture_.reset(); }
  static std::unique_ptr<WindowFixture> fixture_;
};
std::unique_ptr<WindowFixture> LayoutTest::fixture_;

TEST_P(LayoutTest, ControlStandsAsTheLayoutGivesIt) {
  const ControlRow& row = GetParam();
  QWidget* control = fixture_->window->findChild<QWidget*>(row.name);
  ASSERT_NE(control, nullptr);

  if (std::string(row.kind) == "Line") {
    auto* line = qobject_cast<QFrame*>(control);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->frameShape(), QFrame::HLine);
  } else {
    EXPECT_STREQ(control->metaObject()->className(), row.kind);
  }
  ASSERT_NE(control->parentWidget(), nullptr);
  EXPECT_EQ(control->parentWidget()->objectName(), row.parent);

  // Inside a bordered panel the layout counts from the inner area.
  const QPoint origin = control->parentWidget() == fixture_->window.get()
                            ? QPoint(0, 0)
                            : control->parentWidget()->contentsRect().topLeft();
  EXPECT_EQ(control->geometry().translated(-origin), Pixels(row));

  if (row.text) {
    QString shown;
    if (auto* label = qobject_cast<QLabel*>(control)) shown = label->text();
    if (auto* box = qobject_cast<QLineEdit*>(control)) shown = box->text();
    if (auto* button = qobject_cast<QPushButton*>(control)) shown = button->text();
    EXPECT_EQ(shown.toStdString(), *row.text);
  }

  const ExpectedFont font = row.font.value_or(kRegular);
  EXPECT_DOUBLE_EQ(control->font().pointSizeF(), font.points);
  EXPECT_EQ(control->font().bold(), font.bold);
  EXPECT_EQ(control->font().italic(), font.italic);

  if (row.back) {
    EXPECT_TRUE(control->autoFillBackground());
    EXPECT_EQ(control->palette().color(QPalette::Window),
              QColor(row.back->r, row.back->g, row.back->b));
  }
  if (row.fore) {
    EXPECT_EQ(control->palette().color(QPalette::WindowText),
              QColor(row.fore->r, row.fore->g, row.fore->b));
  }
}

INSTANTIATE_TEST_SUITE_P(Controls, LayoutTest, ::testing::ValuesIn(Layout()),
                         [](const auto& info) { return std::string(info.param.name); });

// The same table with the form laid out smaller as one, as on a 1920 × 1080
// screen at 200 %: every place scaled by its edges, every font alike.
constexpr qreal kScale = 0.78;

class ScaledLayoutTest : public ::testing::TestWithParam<ControlRow> {
 protected:
  static void SetUpTestSuite() {
    fixture_ = std::make_unique<WindowFixture>();
    fixture_->window->SetScale(kScale);
  }
  static void TearDownTestSuite() { fixture_.reset(); }
  static std::unique_ptr<WindowFixture> fixture_;
};
std::unique_ptr<WindowFixture> ScaledLayoutTest::fixture_;

int Scaled(int pixels) { return static_cast<int>(std::lround(pixels * kScale)); }

TEST_P(ScaledLayoutTest, ControlIsScaledWithTheForm) {
  const ControlRow& row = GetParam();
  QWidget* control = fixture_->window->findChild<QWidget*>(row.name);
  ASSERT_NE(control, nullptr);
  // The layout's place in the parent, its border included, scaled.
  const auto* frame = qobject_cast<const QFrame*>(control->parentWidget());
  const int border = control->parentWidget() == fixture_->window.get() ? 0 : frame->frameWidth();
  const QRect laid_out = Pixels(row).translated(border, border);
  EXPECT_EQ(control->geometry(), QRect(QPoint(Scaled(laid_out.left()), Scaled(laid_out.top())),
                                       QPoint(Scaled(laid_out.left() + laid_out.width()) - 1,
                                              Scaled(laid_out.top() + laid_out.height()) - 1)));
  // In whole pixels no larger than the scaled size.
  const qreal points = row.font.value_or(kRegular).points;
  EXPECT_NEAR(control->font().pointSizeF(), ScaledPoints(points, kScale, control->logicalDpiY()),
              1e-9);
  EXPECT_LE(control->font().pointSizeF(), points * kScale);
  EXPECT_GT(QFontInfo(control->font()).pixelSize(), 0);
  EXPECT_EQ(control->font().bold(), row.font.value_or(kRegular).bold);
}

INSTANTIATE_TEST_SUITE_P(Controls, ScaledLayoutTest, ::testing::ValuesIn(Layout()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Layout, WindowHoldsExactlyTheSixtyEightControls) {
  WindowFixture f;
  std::set<std::string> expected;
  for (const ControlRow& row : Layout()) expected.insert(row.name);
  ASSERT_EQ(expected.size(), 68u);

  std::set<std::string> named;
  for (const QWidget* w : f.window->findChildren<QWidget*>()) {
    if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_")) {
      named.insert(w->objectName().toStdString());
    }
  }
  EXPECT_EQ(named, expected);
  EXPECT_EQ(f.window->objectName(), "Zeltano");
  EXPECT_EQ(f.window->windowTitle(), "Zeltano-Redurir");
  EXPECT_EQ(f.window->size(), QSize(950, 592));
  EXPECT_EQ(f.window->minimumSize(), f.window->maximumSize());
  EXPECT_EQ(f.window->palette().color(QPalette::Window), QColor(255, 255, 128));
}

TEST(Layout, InputBoxesAreNamedByTheirCaptions) {
  WindowFixture f;
  for (const Field field : kAllFields) {
    QLineEdit* box = f.Box(field);
    ASSERT_NE(box, nullptr);
    // The caption is the label on the same row of the input panel.
    const QLabel* caption = nullptr;
    for (const QLabel* label :
         box->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
      if (label->y() == box->y() && label->x() < box->x()) caption = label;
    }
    ASSERT_NE(caption, nullptr) << box->objectName().toStdString();
    EXPECT_EQ(box->accessibleName(), caption->text().trimmed());
  }
}

TEST(Layout, TabOrderStartsAtTheChartAndVisitsTheBoxesBottomUp) {
  WindowFixture f;
  f.ShowActive();
  const std::vector<std::string> expected = {"graf",
                                             "Picture2",
                                             "Elettartamb",
                                             "Energiaarvaltb",
                                             "Energiaarb",
                                             "Egyebkoltsvaltb",
                                             "Egyebkoltsb",
                                             "Uzemkoltsvaltb",
                                             "Uzemkoltsb",
                                             "Villanyarb",
                                             "Karbkoltsvaltb",
                                             "Karbkoltsb",
                                             "Qkollb",
                                             "Akollb",
                                             "Kamatlabb",
                                             "Maradvanyertekb",
                                             "Beruhazasb",
                                             "Tamogatasb",
                                             "Picture1",
                                             "Picture3",
                                             "Command1",
                                             "Command2",
                                             "graf"};
  std::vector<std::string> visited;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    visited.push_back(focus->objectName().toStdString());
    QTest::keyClick(focus, Qt::Key_Tab);
  }
  EXPECT_EQ(visited, expected);
}

class CaptionFitTest : public ::testing::TestWithParam<qreal> {};

// At the layout's scale, at 200 % of 1920 × 1080 and at the smallest
// legible scale.
TEST_P(CaptionFitTest, EveryCaptionFitsItsControlInTheSubstituteFace) {
  WindowFixture f;
  if (GetParam() != 1) f.window->SetScale(GetParam());
  int checked = 0;
  for (QWidget* control : f.window->findChildren<QWidget*>()) {
    QString text;
    if (auto* label = qobject_cast<QLabel*>(control)) text = label->text();
    if (auto* button = qobject_cast<QPushButton*>(control)) text = button->text().remove('&');
    if (text.isEmpty()) continue;
    ++checked;
    const std::string name = control->objectName().toStdString();
    // The Windows faces are not there; the substitute must be what renders.
    EXPECT_EQ(QFontInfo(control->font()).family(), "Liberation Sans") << name;
    const QFontMetrics metrics(control->font());
    // A trailing blank may overhang the label's edge.
    while (text.endsWith(' ')) text.chop(1);
    EXPECT_LE(metrics.horizontalAdvance(text), control->contentsRect().width()) << name;
    EXPECT_LE(metrics.height(), control->height()) << name;
    // A caption in the input panel ends before the box on its row begins.
    for (QWidget* sibling :
         control->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (sibling != control && sibling->y() == control->y() && sibling->x() > control->x()) {
        EXPECT_LT(control->x() + metrics.horizontalAdvance(text), sibling->x()) << name;
      }
    }
  }
  // The buttons, the 33 captions and the 11 value labels the start-up run filled.
  EXPECT_EQ(checked, 2 + 33 + 11);
}

INSTANTIATE_TEST_SUITE_P(Layout, CaptionFitTest, ::testing::Values(1, kScale, kMinimumFormScale),
                         [](const auto& info) {
                           return "Scale" + std::to_string(std::lround(info.param * 1000));
                         });

}  // namespace
}  // namespace zr::test
