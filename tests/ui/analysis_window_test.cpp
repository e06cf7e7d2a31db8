// The "Elemzés" window: opened with F2, it follows every Calculate, shows the
// core's figures and tornado model, drops a result that a newer Calculate
// overtook and leaves nothing behind when the program ends while it works.

#include "analysis_window.h"

#include <gtest/gtest.h>

#include <QTabWidget>
#include <QTableWidget>
#include <QThreadPool>

#include "analysis.h"
#include "number_text.h"
#include "test_inputs.h"
#include "tornado_chart.h"
#include "ui_test_support.h"

namespace zr::test {
namespace {

constexpr int kWorkerTimeoutMs = 60000;  // generous: the sanitizer build is slow
enum Column { kCaption, kCurrent, kBreakEven, kUnit };

struct AnalysisFixture : WindowFixture {
  // The main window's analysis window: a window of its own, the only one,
  // as each test's main window takes its own along when it goes.
  AnalysisWindow* Analysis() const {
    AnalysisWindow* found = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* analysis = qobject_cast<AnalysisWindow*>(w)) {
        if (found != nullptr) return nullptr;
        found = analysis;
      }
    }
    return found;
  }
  void Open() const {
    ShowActive();
    QTest::keyClick(window.get(), Qt::Key_F2);
  }
  bool WaitIdle() const {
    return WaitFor([&] { return !Analysis()->Busy(); }, kWorkerTimeoutMs);
  }
  void Calculate(TextChanges changes) const {
    for (const auto& [field, text] : changes) Box(field)->setText(QString::fromStdString(text));
    QTest::mouseClick(Child<QPushButton>("Command1"), Qt::LeftButton);
  }
  QString Cell(Field field, int column) const {
    return Analysis()
        ->findChild<QTableWidget*>("Kuszobertekek")
        ->item(Index(field), column)
        ->text();
  }
  QString Figure(const char* name) const { return Analysis()->findChild<QLabel*>(name)->text(); }
};

// The window shows what the core computes for these inputs, in every cell.
void ExpectShows(const AnalysisFixture& f, const InputSet& in) {
  const NumberFormat hu = NumberFormat::Hungarian();
  const Analysis a = Analyse(in, hu);
  for (const Field field : kAllFields) {
    const BreakEven& b = a.break_even[Index(field)];
    EXPECT_EQ(f.Cell(field, kCurrent).toStdString(), MoneyText(in[field], hu)) << Index(field);
    EXPECT_EQ(f.Cell(field, kBreakEven).toStdString(), b.value ? MoneyText(*b.value, hu) : b.why)
        << Index(field);
  }
  EXPECT_EQ(f.Figure("NPV").toStdString(),
            a.npv ? WholeNumberText(*a.npv) : std::string("nem számítható ki"));
  EXPECT_EQ(f.Analysis()->findChild<TornadoChart*>("Tornado")->Model().bars.size(),
            a.sensitivity.size());
}

TEST(AnalysisWindow, F2OpensItOnTheStartUpFigures) {
  AnalysisFixture f;
  ASSERT_NE(f.Analysis(), nullptr);
  EXPECT_FALSE(f.Analysis()->isVisible());
  EXPECT_FALSE(f.Analysis()->Busy());  // a closed window computes nothing
  f.Open();
  ASSERT_TRUE(f.Analysis()->isVisible());
  EXPECT_FALSE(f.Analysis()->isModal());
  ASSERT_TRUE(f.WaitIdle());

  struct Row {
    Field field;
    const char* caption;
    const char* current;
    const char* break_even;
    const char* unit;
  };
  const Row rows[] = {
      {Field::Elettartam, "A vizsgált napkollektoros rendszer várható élettertama/vizsgált időszak",
       "25", "16,6739", "év"},
      {Field::Kamatlab, "Referencia kamatláb, p", "6", "9,6749", "%"},
      {Field::Energiaar, "Kiváltott energiahordozó ára a beruházáskor", "20", "13,8804", "Ft/kWh"},
      {Field::Tamogatas, "Állami, önkormányzati, vagy egyéb beruházási támogatás mértéke", "0",
       "Az egyenleg a megengedett tartományban végig nemnegatív.", ""},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(f.Cell(r.field, kCaption), r.caption);
    EXPECT_EQ(f.Cell(r.field, kCurrent), r.current);
    EXPECT_EQ(f.Cell(r.field, kBreakEven), r.break_even);
    EXPECT_EQ(f.Cell(r.field, kUnit), r.unit);
  }
  EXPECT_EQ(f.Figure("NPV"), "519610");
  EXPECT_EQ(f.Figure("BelsoRata"), "9,6749");
  EXPECT_EQ(f.Figure("EgyszeruMegterules"), "11,47");
  ExpectShows(f, InputsWith({}));
}

TEST(AnalysisWindow, FollowsACalculateAndNeverShowsTheOldFigures) {
  AnalysisFixture f;
  f.Open();
  ASSERT_TRUE(f.WaitIdle());
  const TextChanges changes = {{Field::Energiaar, "22"}, {Field::Tamogatas, "30"}};
  f.Calculate(changes);
  // Until the worker is done the old figures are gone.
  EXPECT_TRUE(f.Analysis()->Busy());
  EXPECT_EQ(f.Figure("Allapot"), "Számítás…");
  EXPECT_EQ(f.Figure("NPV"), "");
  EXPECT_EQ(f.Cell(Field::Energiaar, kBreakEven), "");
  EXPECT_EQ(f.Cell(Field::Energiaar, kCurrent), "22");
  ASSERT_TRUE(f.WaitIdle());
  ExpectShows(f, InputsWith(changes));
}

TEST(AnalysisWindow, ARunEndedOnAFaultIsAnalysedWithAllItsInputs) {
  AnalysisFixture f;
  f.Open();
  ASSERT_TRUE(f.WaitIdle());
  // The box takes the largest investment Money holds, but the subsidised
  // investment does not fit: the run stops there, before it reads the later
  // boxes, and leaves the subsidised investment's label empty.
  const TextChanges changes = {{Field::Beruhazas, "922337203685477,58"}};
  f.Calculate(changes);
  ASSERT_EQ(f.reporter.messages.size(), 1u);
  ASSERT_EQ(f.Label("Valberuhazasb"), "");
  ASSERT_TRUE(f.WaitIdle());
  EXPECT_EQ(f.Cell(Field::Energiaar, kCurrent), "20");
  ExpectShows(f, InputsWith(changes));
}

// The verdict stands above the analysis and is the results panel's
// description for a screen reader; both follow every run, a fault included.
TEST(AnalysisWindow, TheVerdictFollowsEveryRunAndDescribesTheResults) {
  AnalysisFixture f;
  f.Open();
  const auto expect_verdict = [&](const char* start) {
    const QString verdict = f.Figure("Osszegzes");
    EXPECT_TRUE(verdict.startsWith(QString::fromUtf8(start))) << verdict.toStdString();
    EXPECT_EQ(f.Child("Picture3")->accessibleDescription(), verdict);
  };
  EXPECT_EQ(f.Figure("Osszegzes"),
            "A beruházás a vizsgált 25 éves időszakon belül, 16,68 év alatt megtérül, és évente "
            "átlagosan 40631 Ft nyereséget hoz.");
  expect_verdict("A beruházás a vizsgált 25 éves időszakon belül, 16,68 év");
  f.Calculate({{Field::Beruhazas, "82304567,2345"}});
  expect_verdict("A beruházás a vizsgált 25 éves időszakon belül nem térül meg, 100 év alatt sem");
  f.Calculate({{Field::Beruhazas, "922337203685477,58"}});
  expect_verdict("Az eredmény nem számítható ki");
  f.Calculate({{Field::Beruhazas, "1000000"}, {Field::Elettartam, "x"}});
  expect_verdict("A kijavított adatokkal számolva a beruházás a vizsgált 20 éves időszakon belül");
  ASSERT_TRUE(f.WaitIdle());
}

TEST(AnalysisWindow, DropsAResultThatANewerCalculateOvertook) {
  AnalysisFixture f;
  f.Open();
  ASSERT_TRUE(f.WaitIdle());
  std::vector<QString> shown;  // the Energiaar value of every result put on show
  QObject::connect(f.Analysis(), &AnalysisWindow::ResultShown,
                   [&] { shown.push_back(f.Cell(Field::Energiaar, kCurrent)); });
  f.Calculate({{Field::Energiaar, "5"}});  // no payback: the slower analysis
  f.Calculate({{Field::Energiaar, "22"}});
  ASSERT_TRUE(f.WaitIdle());
  EXPECT_EQ(shown, std::vector<QString>{"22"});
  ExpectShows(f, InputsWith({{Field::Energiaar, "22"}}));
}

TEST(AnalysisWindow, EndingTheProgramWhileItWorksLeavesNothingBehind) {
  AnalysisFixture f;
  f.Open();
  f.Calculate({{Field::Energiaar, "1"}});
  ASSERT_TRUE(f.Analysis()->Busy());
  f.window.reset();
  EXPECT_EQ(f.Analysis(), nullptr);  // gone with the main window
  // The worker finishes on its own; its result reaches no window.
  QThreadPool::globalInstance()->waitForDone();
  QCoreApplication::processEvents();
  SUCCEED();
}

}  // namespace
}  // namespace zr::test
