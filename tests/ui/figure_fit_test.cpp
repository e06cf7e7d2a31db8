// A value label shows its whole figure, in a smaller font when needed, or a
// visibly shortened one with the whole figure in the tooltip; never a figure
// with digits silently cut off.

#include "figure_fit.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <stdexcept>

#include "calculation_run.h"
#include "require_child.h"
#include "ui_test_support.h"

namespace zr::test {
namespace {

struct LongCase {
  const char* name;
  std::vector<std::pair<Field, std::string>> changes;
  bool some_shortened;
};

class LongFigureTest : public ::testing::TestWithParam<LongCase> {};

TEST_P(LongFigureTest, EveryValueLabelShowsItsWholeFigureOrAVisibleEllipsis) {
  const LongCase& c = GetParam();
  WindowFixture f;
  f.CalculateWith(c.changes);
  InputTexts texts = StartupTexts(NumberFormat::Hungarian());
  for (const auto& [field, text] : c.changes) texts[Index(field)] = text;
  const RunOutcome outcome = CalculationRun(texts, NumberFormat::Hungarian());

  bool any_shortened = false;
  for (std::size_t i = 0; i < kResultLabelCount; ++i) {
    const QString name = QString::fromUtf8(LabelName(static_cast<ResultLabel>(i)));
    const auto* label = f.window->findChild<QLabel*>(name);
    const QString full = QString::fromStdString(outcome.labels[i].value_or(""));
    SCOPED_TRACE(name.toStdString() + " " + full.toStdString());
    EXPECT_LE(QFontMetricsF(label->font()).horizontalAdvance(label->text()),
              label->contentsRect().width());
    EXPECT_GE(label->font().pointSizeF(), kMinimumFigurePoints);
    EXPECT_EQ(label->accessibleDescription(), full);
    if (label->text() == full) {
      EXPECT_EQ(label->toolTip(), "");
    } else {
      any_shortened = true;
      EXPECT_TRUE(label->text().endsWith(QChar(0x2026)));
      EXPECT_TRUE(full.startsWith(label->text().chopped(1)));
      EXPECT_EQ(label->toolTip(), full);
      EXPECT_DOUBLE_EQ(label->font().pointSizeF(), kMinimumFigurePoints);
    }
  }
  EXPECT_EQ(any_shortened, c.some_shortened);
}

INSTANTIATE_TEST_SUITE_P(
    Values, LongFigureTest,
    ::testing::Values(
        LongCase{"StartUp", {}, false},
        LongCase{"EightDigitsFourDecimals", {{Field::Beruhazas, "82304567,2345"}}, false},
        LongCase{"ThirteenDigits", {{Field::Beruhazas, "1000000000000"}}, false},
        LongCase{"TwentyCharacters", {{Field::Beruhazas, "900000000000000,1234"}}, true},
        LongCase{"NegativeBalance", {{Field::Beruhazas, "99999999,9999"}}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LongFigure, ShrinksOnlyAsFarAsNeededAndReturnsToTheLayoutFont) {
  WindowFixture f;
  auto* label = f.Child<QLabel>("Valberuhazasb");
  const QFont layout = label->font();
  f.CalculateWith({{Field::Beruhazas, "82304567,2345"}});
  EXPECT_EQ(label->text(), "82304567,2345");
  const qreal shrunk = label->font().pointSizeF();
  EXPECT_LT(shrunk, layout.pointSizeF());
  QFont larger = label->font();
  larger.setPointSizeF(shrunk + 0.25);
  EXPECT_GT(QFontMetricsF(larger).horizontalAdvance(label->text()), label->contentsRect().width());

  f.CalculateWith({{Field::Beruhazas, "1000000"}});
  EXPECT_EQ(label->text(), "1000000");
  EXPECT_EQ(label->font(), layout);
}

TEST(RequireChild, AMissingControlStopsTheStartWithItsName) {
  QWidget parent;
  QLabel label(&parent);
  label.setObjectName("There");
  EXPECT_EQ(RequireChild<QLabel>(parent, "There"), &label);
  try {
    RequireChild<QLabel>(parent, "Missing");
    ADD_FAILURE() << "no exception";
  } catch (const std::logic_error& e) {
    EXPECT_NE(std::string(e.what()).find("Missing"), std::string::npos);
  }
  EXPECT_THROW(RequireChild<QLineEdit>(parent, "There"), std::logic_error);
}

}  // namespace
}  // namespace zr::test
