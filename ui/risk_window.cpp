#include "risk_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <exception>
#include <initializer_list>
#include <utility>
#include <variant>

#include "calculation_run.h"
#include "fonts.h"
#include "qt_text.h"
#include "risk_histogram.h"
#include "ui_risk_window.h"

namespace zr {

namespace {

enum Column { kCaption, kLow, kMode, kHigh, kUnit, kColumnCount };
constexpr int kProgressMs = 100;

QString Text(RiskText id) { return FromUtf8(TextOf(id)); }

QTableWidgetItem* Cell(const QString& text, bool editable, Qt::Alignment alignment) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(alignment | Qt::AlignVCenter);
  item->setFlags(editable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                          : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

std::string& TextIn(RangeTexts& row, int column) {
  return column == kLow ? row.low : column == kMode ? row.mode : row.high;
}

}  // namespace

RiskWindow::RiskWindow(InputCaptions captions, NumberFormat format, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ui_(std::make_unique<Ui::RiskWindow>()),
      captions_(std::move(captions)),
      format_(std::move(format)),
      scenario_(StartupTexts(format_)) {
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle(Text(RiskText::kTitle) + QStringLiteral(" – Zeltano-Redurir"));
  setFont(LayoutFont(kMsSansSerif, 8.25));
  rows_ = DefaultRanges(scenario_, format_);
  BuildControls();
  connect(&watcher_, &QFutureWatcher<Outcome>::finished, this, &RiskWindow::OnFinished);
  progress_timer_.setInterval(kProgressMs);
  connect(&progress_timer_, &QTimer::timeout, this, &RiskWindow::ShowProgress);
  ClearResult(Text(RiskText::kNotRun));
}

RiskWindow::~RiskWindow() {
  watcher_.disconnect(this);
  if (running_) running_->cancel = true;
  watcher_.waitForFinished();
}

void RiskWindow::BuildControls() {
  // The layout is the form's; the words are the core's, the same as the page's.
  ui_->setupUi(this);
  ui_->Bevezeto->setText(Text(RiskText::kIntro));
  QTableWidget* table = ui_->Tartomanyok;
  table->setColumnCount(kColumnCount);
  table->setHorizontalHeaderLabels({Text(RiskText::kColumnInput), Text(RiskText::kColumnLow),
                                    Text(RiskText::kColumnMode), Text(RiskText::kColumnHigh),
                                    Text(RiskText::kColumnUnit)});
  table->horizontalHeader()->setFont(font());
  table->horizontalHeader()->setSectionResizeMode(kCaption, QHeaderView::Stretch);
  for (const int c : {kLow, kMode, kHigh, kUnit}) {
    table->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
  }
  connect(table, &QTableWidget::cellChanged, this, &RiskWindow::OnCellChanged);

  ui_->UjAdatFelirat->setText(Text(RiskText::kAddCaption));
  ui_->Hozzaadas->setText(Text(RiskText::kAdd));
  ui_->Eltavolitas->setText(Text(RiskText::kRemove));
  ui_->Alapertekek->setText(Text(RiskText::kDefaults));
  connect(ui_->Hozzaadas, &QPushButton::clicked, this, &RiskWindow::AddRow);
  connect(ui_->Eltavolitas, &QPushButton::clicked, this, &RiskWindow::RemoveRow);
  connect(ui_->Alapertekek, &QPushButton::clicked, this, &RiskWindow::ResetRows);

  ui_->FutasokFelirat->setText(Text(RiskText::kRunsCaption));
  ui_->Futasok->setText(QString::number(kDefaultRiskRuns));
  ui_->KezdoertekFelirat->setText(Text(RiskText::kSeedCaption));
  ui_->Kezdoertek->setText(QStringLiteral("1"));
  ui_->Futtatas->setText(Text(RiskText::kRun));
  ui_->Megse->setText(Text(RiskText::kCancel));
  connect(ui_->Futtatas, &QPushButton::clicked, this, &RiskWindow::Run);
  connect(ui_->Megse, &QPushButton::clicked, this, &RiskWindow::Cancel);
  connect(ui_->Futasok, &QLineEdit::returnPressed, this, &RiskWindow::Run);
  connect(ui_->Kezdoertek, &QLineEdit::returnPressed, this, &RiskWindow::Run);

  const QFont bold = LayoutFont(kMsSansSerif, 9.75, true);
  ui_->AranyFelirat->setText(Text(RiskText::kShareCaption));
  ui_->AranyFelirat->setFont(bold);
  ui_->Arany->setFont(bold);
  ui_->P10Fejlec->setText(Text(RiskText::kP10));
  ui_->P50Fejlec->setText(Text(RiskText::kP50));
  ui_->P90Fejlec->setText(Text(RiskText::kP90));
  ui_->MegterulesFelirat->setText(Text(RiskText::kPaybackRow));
  ui_->EgyenlegFelirat->setText(Text(RiskText::kBalanceRow));
  for (QLabel* figure : {ui_->P10Megterules, ui_->P50Megterules, ui_->P90Megterules,
                         ui_->P10Egyenleg, ui_->P50Egyenleg, ui_->P90Egyenleg}) {
    figure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  for (QLabel* head : {ui_->P10Fejlec, ui_->P50Fejlec, ui_->P90Fejlec}) {
    head->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  ui_->HibasFelirat->setText(Text(RiskText::kFaultsCaption));
  ui_->HibasMegjegyzes->setText(Text(RiskText::kFaultsNote));
  ui_->HisztogramCim->setText(Text(RiskText::kHistogramTitle));
  ui_->HisztogramCim->setFont(bold);
  ui_->Hisztogram->setAccessibleName(Text(RiskText::kHistogramTitle));
  ui_->Folyamat->setRange(0, 1);
  ui_->Folyamat->setValue(0);
  ui_->Megse->setEnabled(false);
  FillTable();
}

void RiskWindow::FillTable() {
  QTableWidget* table = ui_->Tartomanyok;
  filling_ = true;
  table->setRowCount(static_cast<int>(rows_.size()));
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    const int row = static_cast<int>(r);
    const InputCaption& caption = captions_[Index(rows_[r].field)];
    table->setItem(row, kCaption, Cell(caption.text, false, Qt::AlignLeft));
    table->setItem(row, kLow, Cell(FromUtf8(rows_[r].low), true, Qt::AlignRight));
    table->setItem(row, kMode, Cell(FromUtf8(rows_[r].mode), true, Qt::AlignRight));
    table->setItem(row, kHigh, Cell(FromUtf8(rows_[r].high), true, Qt::AlignRight));
    table->setItem(row, kUnit, Cell(caption.unit, false, Qt::AlignLeft));
  }
  table->resizeRowsToContents();
  filling_ = false;
  FillAddable();
}

void RiskWindow::FillAddable() {
  QComboBox* box = ui_->UjAdat;
  box->clear();
  for (const Field field : kAllFields) {
    const bool listed = std::any_of(rows_.begin(), rows_.end(),
                                    [&](const RangeTexts& r) { return r.field == field; });
    if (!listed) box->addItem(captions_[Index(field)].text, static_cast<int>(Index(field)));
  }
  ui_->Hozzaadas->setEnabled(box->count() > 0 && !Busy());
  ui_->Eltavolitas->setEnabled(!rows_.empty() && !Busy());
}

void RiskWindow::OnCellChanged(int row, int column) {
  if (filling_ || row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return;
  if (column != kLow && column != kMode && column != kHigh) return;
  TextIn(rows_[static_cast<std::size_t>(row)], column) =
      ui_->Tartomanyok->item(row, column)->text().toStdString();
}

void RiskWindow::AddRow() {
  if (Busy() || ui_->UjAdat->count() == 0) return;
  const auto field = static_cast<Field>(ui_->UjAdat->currentData().toInt());
  rows_.push_back(OfferedRange(field, scenario_, format_));
  FillTable();
  ui_->Tartomanyok->setCurrentCell(static_cast<int>(rows_.size()) - 1, kLow);
}

void RiskWindow::RemoveRow() {
  const int row = ui_->Tartomanyok->currentRow();
  if (Busy() || row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return;
  rows_.erase(rows_.begin() + row);
  FillTable();
}

void RiskWindow::ResetRows() {
  if (Busy()) return;
  rows_ = DefaultRanges(scenario_, format_);
  FillTable();
}

void RiskWindow::FollowRun(const RunOutcome& outcome) {
  const InputTexts former = scenario_;
  scenario_ = outcome.corrected;
  FollowScenario(rows_, former, scenario_, format_);
  FillTable();
  const bool had_result = shown_.has_value() || Busy();
  if (running_) {
    running_->cancel = true;
    running_ = nullptr;  // its result is dropped when it comes
    SetRunning(false);
  }
  if (had_result) ClearResult(Text(RiskText::kStale));
}

void RiskWindow::ShowProblem(const QString& message) {
  ui_->Allapot->setText(message);
  ui_->Allapot->setStyleSheet(QStringLiteral("color: #b00000"));
}

void RiskWindow::Run() {
  if (Busy()) return;
  // Runs of a former scenario, stopped, may still be ending: at most 256 runs.
  watcher_.waitForFinished();
  const auto ranges = ReadRanges(rows_, format_);
  if (const auto* problem = std::get_if<RangeProblem>(&ranges)) {
    if (problem->row < rows_.size()) {
      const QString caption = captions_[Index(rows_[problem->row].field)].text;
      ShowProblem(caption + QStringLiteral(": ") + FromUtf8(problem->message));
      ui_->Tartomanyok->setCurrentCell(static_cast<int>(problem->row), kLow + problem->column);
      ui_->Tartomanyok->setFocus();
    } else {
      ShowProblem(FromUtf8(problem->message));
    }
    return;
  }
  const auto runs = ReadRuns(ui_->Futasok->text().toStdString());
  if (const auto* message = std::get_if<std::string>(&runs)) {
    ShowProblem(FromUtf8(*message));
    ui_->Futasok->setFocus();
    ui_->Futasok->selectAll();
    return;
  }
  const auto seed = ReadSeed(ui_->Kezdoertek->text().toStdString());
  if (const auto* message = std::get_if<std::string>(&seed)) {
    ShowProblem(FromUtf8(*message));
    ui_->Kezdoertek->setFocus();
    ui_->Kezdoertek->selectAll();
    return;
  }

  ClearResult(FromUtf8(ProgressText(0, std::get<std::int64_t>(runs))));
  running_ = std::make_shared<Shared>();
  running_runs_ = std::get<std::int64_t>(runs);
  running_ranges_ = std::get<std::vector<RiskRange>>(ranges);
  shown_rows_ = rows_;
  SetRunning(true);
  // The worker holds copies of everything it reads, and the shared state.
  watcher_.setFuture(QtConcurrent::run([shared = running_, texts = scenario_,
                                        ranges = running_ranges_, count = running_runs_,
                                        start = std::get<std::uint64_t>(seed), format = format_]() {
    Outcome out;
    try {
      out.result = RunRisk(texts, ranges, count, start, format, [&](std::int64_t done) {
        shared->done = done;
        return !shared->cancel;
      });
    } catch (const std::exception&) {
      // Arithmetic faults end inside the core; anything else (memory)
      // lands here and must not take the program down from a worker.
      out.failed = true;
    }
    return out;
  }));
}

void RiskWindow::Cancel() {
  if (!running_) return;
  running_->cancel = true;
}

void RiskWindow::SetRunning(bool running) {
  ui_->Futtatas->setEnabled(!running);
  ui_->Megse->setEnabled(running);
  for (QWidget* w : std::initializer_list<QWidget*>{ui_->Futasok, ui_->Kezdoertek, ui_->Alapertekek,
                                                    ui_->UjAdat}) {
    w->setEnabled(!running);
  }
  ui_->Tartomanyok->setEditTriggers(running ? QAbstractItemView::NoEditTriggers
                                            : QAbstractItemView::AllEditTriggers);
  if (running) {
    ui_->Folyamat->setRange(0, static_cast<int>(running_runs_));
    ui_->Folyamat->setValue(0);
    progress_timer_.start();
    ui_->Megse->setFocus();
  } else {
    progress_timer_.stop();
  }
  FillAddable();
}

void RiskWindow::ShowProgress() {
  if (!running_) return;
  const std::int64_t done = running_->done;
  ui_->Folyamat->setValue(static_cast<int>(done));
  ui_->Allapot->setText(FromUtf8(ProgressText(done, running_runs_)));
}

void RiskWindow::OnFinished() {
  const Outcome out = watcher_.result();
  const std::shared_ptr<Shared> shared = std::exchange(running_, nullptr);
  if (!shared) {
    // Runs of a former scenario, stopped when it went: nothing to show.
    emit RunEnded();
    return;
  }
  SetRunning(false);
  if (out.failed) {
    ClearResult(Text(RiskText::kFailed));
  } else if (shared->cancel) {
    ClearResult(Text(RiskText::kCancelled));
    ui_->Futtatas->setFocus();
  } else {
    ShowResult(out.result);
  }
  emit RunEnded();
}

void RiskWindow::ClearResult(const QString& status) {
  shown_.reset();
  ui_->Allapot->setStyleSheet(QString());
  ui_->Allapot->setText(status);
  ui_->Arany->clear();
  ui_->Ertelmezes->clear();
  ui_->Hibas->clear();
  for (QLabel* figure : {ui_->P10Megterules, ui_->P50Megterules, ui_->P90Megterules,
                         ui_->P10Egyenleg, ui_->P50Egyenleg, ui_->P90Egyenleg}) {
    figure->clear();
  }
  ui_->Folyamat->setRange(0, 1);
  ui_->Folyamat->setValue(0);
  ui_->Hisztogram->ShowMessage(status);
}

void RiskWindow::ShowResult(const RiskResult& result) {
  shown_ = result;
  const RiskFigures f = FiguresOf(result, format_);
  ui_->Allapot->setStyleSheet(QString());
  ui_->Allapot->setText(FromUtf8(DoneText(result)));
  ui_->Folyamat->setRange(0, 1);
  ui_->Folyamat->setValue(1);
  ui_->Arany->setText(FromUtf8(f.share));
  ui_->Ertelmezes->setText(FromUtf8(f.summary));
  ui_->Hibas->setText(FromUtf8(f.faults));
  const std::array<QLabel*, 3> payback = {ui_->P10Megterules, ui_->P50Megterules,
                                          ui_->P90Megterules};
  const std::array<QLabel*, 3> balance = {ui_->P10Egyenleg, ui_->P50Egyenleg, ui_->P90Egyenleg};
  for (std::size_t i = 0; i < 3; ++i) {
    payback[i]->setText(FromUtf8(f.payback[i]));
    balance[i]->setText(FromUtf8(f.balance[i]));
  }
  const RiskHistogram histogram =
      HistogramOf(result, FixedPeriod(scenario_, running_ranges_, format_), format_);
  if (histogram.bars.empty()) {
    ui_->Hisztogram->ShowMessage(FromUtf8(f.summary));
  } else {
    ui_->Hisztogram->SetHistogram(histogram);
  }
}

std::optional<RiskReport> RiskWindow::Report() const {
  if (!shown_) return std::nullopt;
  RiskReport report;
  for (const RangeTexts& row : shown_rows_) {
    const InputCaption& caption = captions_[Index(row.field)];
    report.ranges.push_back(
        {caption.text, FromUtf8(row.low), FromUtf8(row.mode), FromUtf8(row.high), caption.unit});
  }
  report.status = FromUtf8(DoneText(*shown_));
  report.figures = FiguresOf(*shown_, format_);
  report.histogram =
      HistogramOf(*shown_, FixedPeriod(scenario_, running_ranges_, format_), format_);
  return report;
}

void RiskWindow::closeEvent(QCloseEvent* event) {
  // Closing stops the runs; the window's other contents stay for next time.
  Cancel();
  QWidget::closeEvent(event);
}

void RiskWindow::keyPressEvent(QKeyEvent* event) {
  // Esc stops the runs under way, else closes the window, as a dialog.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    if (Busy()) {
      Cancel();
    } else {
      close();
    }
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace zr
