#include "analysis_window.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QtConcurrent/QtConcurrentRun>
#include <exception>
#include <utility>

#include "analysis_view.h"
#include "arithmetic_fault.h"
#include "calculation_run.h"
#include "fonts.h"
#include "number_text.h"
#include "qt_text.h"
#include "tornado_chart.h"
#include "ui_analysis_window.h"
#include "verdict.h"

namespace zr {

namespace {

enum Column { kCaption, kCurrent, kBreakEven, kUnit, kColumnCount };

QString Text(AnalysisText id) { return FromUtf8(TextOf(id)); }

AnalysisResult Compute(std::uint64_t run, const InputSet& inputs, const NumberFormat& format) {
  AnalysisResult result;
  result.run = run;
  result.inputs = inputs;
  try {
    result.analysis = Analyse(inputs, format);
  } catch (const std::exception&) {
    // Arithmetic faults end inside the core; anything else (memory) lands
    // here and must not take the program down from a worker thread.
    result.failed = true;
  }
  return result;
}

QTableWidgetItem* Cell(const QString& text, Qt::Alignment alignment) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(alignment | Qt::AlignVCenter);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

}  // namespace

AnalysisWindow::AnalysisWindow(InputCaptions captions, NumberFormat format, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ui_(std::make_unique<Ui::AnalysisWindow>()),
      captions_(std::move(captions)),
      format_(std::move(format)) {
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle(Text(AnalysisText::kTitle) + QStringLiteral(" – Zeltano-Redurir"));
  setFont(LayoutFont(kMsSansSerif, 8.25));
  BuildControls();
  connect(&watcher_, &QFutureWatcher<AnalysisResult>::finished, this, &AnalysisWindow::OnFinished);
  ShowPending();
}

// The worker holds copies of everything it reads; a run still under way is
// left to finish on its own, and the application waits for it at exit.
AnalysisWindow::~AnalysisWindow() { watcher_.disconnect(this); }

void AnalysisWindow::BuildControls() {
  // The layout is the form's; the words are the core's, the same as the page's.
  ui_->setupUi(this);
  status_ = ui_->Allapot;
  npv_ = ui_->NPV;
  internal_rate_ = ui_->BelsoRata;
  simple_payback_ = ui_->EgyszeruMegterules;
  tabs_ = ui_->Lapok;
  table_ = ui_->Kuszobertekek;
  tornado_ = ui_->Tornado;
  verdict_ = ui_->Osszegzes;
  co2_ = ui_->ElkerultCo2;
  verdict_->setFont(LayoutFont(kMsSansSerif, 9.75, true));

  const QFont bold = LayoutFont(kMsSansSerif, 9.75, true);
  const std::pair<QLabel*, AnalysisText> figures[] = {
      {ui_->NPVFelirat, AnalysisText::kNpvCaption},
      {ui_->BelsoRataFelirat, AnalysisText::kInternalRateCaption},
      {ui_->EgyszeruMegterulesFelirat, AnalysisText::kSimplePaybackCaption}};
  for (const auto& [caption, text] : figures) {
    caption->setText(Text(text));
    caption->setFont(bold);
    caption->buddy()->setFont(bold);
  }

  ui_->KuszobertekekBevezeto->setText(Text(AnalysisText::kBreakEvenIntro));
  table_->setRowCount(static_cast<int>(kFieldCount));
  table_->setColumnCount(kColumnCount);
  table_->setHorizontalHeaderLabels(
      {Text(AnalysisText::kColumnInput), Text(AnalysisText::kColumnCurrent),
       Text(AnalysisText::kColumnBreakEven), Text(AnalysisText::kColumnUnit)});
  table_->horizontalHeader()->setFont(font());
  table_->horizontalHeader()->setSectionResizeMode(kCaption, QHeaderView::Stretch);
  for (const int c : {kCurrent, kBreakEven, kUnit}) {
    table_->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
  }
  for (const Field field : kAllFields) {
    const int row = static_cast<int>(Index(field));
    const InputCaption& caption = captions_[Index(field)];
    table_->setItem(row, kCaption, Cell(caption.text, Qt::AlignLeft));
    table_->setItem(row, kCurrent, Cell(QString(), Qt::AlignRight));
    table_->setItem(row, kBreakEven, Cell(QString(), Qt::AlignRight));
    table_->setItem(row, kUnit, Cell(caption.unit, Qt::AlignLeft));
  }
  table_->resizeRowsToContents();
  tabs_->setTabText(tabs_->indexOf(ui_->KuszobertekekLap), Text(AnalysisText::kBreakEvenTitle));

  ui_->TornadoBevezeto->setText(Text(AnalysisText::kTornadoIntro));
  tornado_->SetCaptions(captions_);
  tabs_->setTabText(tabs_->indexOf(ui_->TornadoLap), Text(AnalysisText::kTornadoTitle));
}

void AnalysisWindow::FollowRun(const RunOutcome& outcome) {
  verdict_->setText(FromUtf8(VerdictOf(outcome, format_).text));
  if (!outcome.fault) {
    SetInputs(outcome.inputs);
    return;
  }
  // A run that ended early may not have read every box; the inputs it holds
  // would then be another scenario. Read them again as the run reads them.
  InputSet inputs;
  try {
    for (const Field field : kAllFields) {
      inputs[field] = TextToMoney(outcome.corrected[Index(field)], format_);
    }
  } catch (const ArithmeticFault&) {
    latest_.reset();
    ++latest_run_;
    ShowPending();
    co2_->setText(QString());
    const QString message = Text(AnalysisText::kNoAnalysis) + u' ' + FromUtf8(*outcome.fault);
    status_->setText(message);
    tornado_->ShowMessage(message);
    return;
  }
  SetInputs(inputs);
}

void AnalysisWindow::SetInputs(const InputSet& inputs) {
  latest_ = inputs;
  ++latest_run_;
  ShowPending();
  ShowCo2();
  if (isVisible()) StartIfNeeded();
}

bool AnalysisWindow::Busy() const { return running_run_ != 0; }

void AnalysisWindow::SetCarrier(const std::optional<CarrierChoice>& carrier) {
  carrier_ = carrier;
  if (latest_) ShowCo2();
}

QString AnalysisWindow::Co2Text() const { return co2_->text(); }

// At once, from the latest run's inputs: it needs no worker.
void AnalysisWindow::ShowCo2() {
  const AvoidedCo2 co2 = AvoidedCo2Of(carrier_, *latest_, format_);
  co2_->setText(FromUtf8(co2.basis.empty() ? co2.text : co2.text + '\n' + co2.basis));
}

void AnalysisWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  StartIfNeeded();
}

void AnalysisWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange && table_ != nullptr) table_->resizeRowsToContents();
}

void AnalysisWindow::keyPressEvent(QKeyEvent* event) {
  // Esc closes it, as it closes a dialog.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

// One analysis at a time: a newer run waits until the one under way ends,
// which is then dropped, so quick Calculates never pile up work.
void AnalysisWindow::StartIfNeeded() {
  if (!latest_ || running_run_ != 0 || shown_run_ == latest_run_) return;
  running_run_ = latest_run_;
  watcher_.setFuture(QtConcurrent::run(Compute, latest_run_, *latest_, format_));
}

void AnalysisWindow::OnFinished() {
  const AnalysisResult result = watcher_.result();
  running_run_ = 0;
  if (result.run == latest_run_) {
    shown_run_ = result.run;
    ShowResult(result);
    emit ResultShown();
  } else if (isVisible()) {
    StartIfNeeded();
  }
}

void AnalysisWindow::ShowPending() {
  status_->setText(Text(AnalysisText::kBusy));
  for (QLabel* value : {npv_, internal_rate_, simple_payback_}) value->clear();
  table_->clearSpans();
  for (const Field field : kAllFields) {
    const int row = static_cast<int>(Index(field));
    table_->item(row, kCurrent)
        ->setText(latest_ ? FromUtf8(MoneyText((*latest_)[field], format_)) : QString());
    table_->item(row, kBreakEven)->setText(QString());
    table_->item(row, kUnit)->setText(captions_[Index(field)].unit);
  }
  tornado_->ShowMessage(Text(AnalysisText::kBusy));
}

void AnalysisWindow::ShowResult(const AnalysisResult& result) {
  if (result.failed) {
    status_->setText(Text(AnalysisText::kFailed));
    tornado_->ShowMessage(Text(AnalysisText::kFailed));
    return;
  }
  const Analysis& a = result.analysis;
  status_->setText(Text(AnalysisText::kDone));
  const AnalysisFigures figures = FiguresOf(a, format_);
  npv_->setText(FromUtf8(figures.npv));
  internal_rate_->setText(FromUtf8(figures.internal_rate));
  simple_payback_->setText(FromUtf8(figures.simple_payback));

  for (const Field field : kAllFields) {
    const int row = static_cast<int>(Index(field));
    const BreakEven& b = a.break_even[Index(field)];
    QTableWidgetItem* cell = table_->item(row, kBreakEven);
    if (b.value) {
      cell->setText(FromUtf8(MoneyText(*b.value, format_)));
      cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else {
      // The reason takes the unit's place too.
      cell->setText(FromUtf8(b.why));
      cell->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      table_->item(row, kUnit)->setText(QString());
      table_->setSpan(row, kBreakEven, 1, 2);
    }
  }

  tornado_->SetTornado(TornadoOf(a, format_));
}

}  // namespace zr
