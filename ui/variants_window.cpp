#include "variants_window.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QTableWidget>
#include <QUrl>
#include <algorithm>
#include <cstring>
#include <variant>

#include "analysis_view.h"
#include "error_reporter.h"
#include "file_chooser.h"
#include "qt_text.h"
#include "safe_file.h"
#include "scenario_file.h"
#include "ui_variants_window.h"

namespace zr {

namespace {

QString Text(VariantsText id) { return FromUtf8(TextOf(id)); }

const QString kScenarioFilter = QStringLiteral(
    "Zeltano-Redurir forgatókönyv (*.zeltano.json);;JSON-fájl (*.json);;Minden fájl (*)");

// "Élettartam, T [év]" from the caption and its unit.
QString WithUnit(const QString& text, const QString& unit) {
  return unit.isEmpty() ? text : QStringLiteral("%1 [%2]").arg(text, unit);
}

// The variant a file holds is named after the file, without its suffix.
QString NameOf(const QString& path) {
  QString name = QFileInfo(path).fileName();
  const QString suffix = QString::fromUtf8(kScenarioSuffix);
  if (name.endsWith(suffix, Qt::CaseInsensitive)) {
    name.chop(suffix.size());
  } else {
    name = QFileInfo(path).completeBaseName();
  }
  return name;
}

// A variant's name as a file name: no folder separators or control characters.
QString FileNameOf(const QString& name) {
  QString file = name;
  for (QChar& c : file) {
    if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control) {
      c = QLatin1Char('_');
    }
  }
  return file + QString::fromUtf8(kScenarioSuffix);
}

}  // namespace

VariantsWindow::VariantsWindow(InputCaptions inputs, ResultCaptions results, NumberFormat format,
                               ErrorReporter& reporter, std::function<Variant()> current,
                               QWidget* parent)
    : QWidget(parent, Qt::Window),
      ui_(std::make_unique<Ui::VariantsWindow>()),
      input_captions_(std::move(inputs)),
      result_captions_(std::move(results)),
      format_(std::move(format)),
      reporter_(reporter),
      current_(std::move(current)) {
  setAttribute(Qt::WA_QuitOnClose, false);
  ui_->setupUi(this);
  setWindowTitle(Text(VariantsText::kTitle) + QStringLiteral(" – Zeltano-Redurir"));
  setAcceptDrops(true);
  ui_->JelenlegiHozzaadasa->setText(Text(VariantsText::kAddCurrent));
  ui_->Megnyitas->setText(Text(VariantsText::kAddFile));
  ui_->Eltavolitas->setText(Text(VariantsText::kRemove));
  ui_->Mentes->setText(Text(VariantsText::kSave));
  ui_->Jelmagyarazat->setText(Text(VariantsText::kMarksLegend));
  ui_->Grafikon->SetNumberFormat(format_);
  ui_->Grafikon->setAccessibleName(Text(VariantsText::kChartTitle));
  ui_->Tablazat->setAccessibleName(Text(VariantsText::kTitle));
  ui_->Tablazat->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  connect(ui_->JelenlegiHozzaadasa, &QPushButton::clicked, this, &VariantsWindow::AddCurrent_Click);
  connect(ui_->Megnyitas, &QPushButton::clicked, this, &VariantsWindow::Open_Click);
  connect(ui_->Eltavolitas, &QPushButton::clicked, this, &VariantsWindow::Remove_Click);
  connect(ui_->Mentes, &QPushButton::clicked, this, &VariantsWindow::Save_Click);
  // The main window's keys for the same commands.
  const auto key = [this](QKeySequence keys, void (VariantsWindow::*handler)()) {
    auto* action = new QAction(this);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, handler);
    addAction(action);
  };
  key(QKeySequence::Open, &VariantsWindow::Open_Click);
  key(QKeySequence::Save, &VariantsWindow::Save_Click);
  key(QKeySequence::Delete, &VariantsWindow::Remove_Click);
  Refresh();
}

VariantsWindow::~VariantsWindow() = default;

bool VariantsWindow::AddVariant(Variant variant) {
  if (variants_.size() >= kMaxVariants) {
    ui_->Allapot->setText(Text(VariantsText::kFull));
    return false;
  }
  variants_.push_back(std::move(variant));
  saved_.clear();
  Refresh();
  return true;
}

bool VariantsWindow::AddFile(const QString& path) {
  const QString title = FromUtf8(kOpenScenarioTitle);
  const auto refuse = [&](const QString& reason) {
    reporter_.ShowProblem(this, title,
                          (FromUtf8(kCannotOpenScenario) + QStringLiteral("\n%1\n\n%2"))
                              .arg(QDir::toNativeSeparators(path), reason));
    return false;
  };
  if (variants_.size() >= kMaxVariants) return refuse(Text(VariantsText::kFull));
  const auto content = ReadRegularFile(QFile::encodeName(path).toStdString(), kMaxScenarioBytes);
  if (const auto* failure = std::get_if<FileFailure>(&content)) {
    return refuse(QString::fromStdString(failure->reason));
  }
  const auto parsed = ParseScenario(std::get<std::string>(content), format_);
  if (const auto* reason = std::get_if<std::string>(&parsed)) {
    return refuse(QString::fromStdString(*reason));
  }
  // A variant is its texts: the file's energy carrier, if any, stays out.
  return AddVariant({NameOf(path).toStdString(), std::get<Scenario>(parsed).texts});
}

void VariantsWindow::RemoveVariant(std::size_t index) {
  if (index >= variants_.size()) return;
  variants_.erase(variants_.begin() + static_cast<std::ptrdiff_t>(index));
  saved_.clear();
  Refresh();
}

void VariantsWindow::Refresh() {
  table_.reset();
  if (variants_.size() >= kMinVariants) table_ = CompareVariants(variants_, format_);
  QString status;
  if (variants_.size() < kMinVariants) status = Text(VariantsText::kTooFew);
  if (variants_.size() == kMaxVariants) status = Text(VariantsText::kFull);
  if (!saved_.isEmpty())
    status = Text(VariantsText::kSaved) + QLatin1Char(' ') + saved_.join(QStringLiteral(", "));
  ui_->Allapot->setText(status);
  ui_->Allapot->setVisible(!status.isEmpty());
  ui_->JelenlegiHozzaadasa->setEnabled(variants_.size() < kMaxVariants);
  ui_->Megnyitas->setEnabled(variants_.size() < kMaxVariants);
  ui_->Eltavolitas->setEnabled(!variants_.empty());
  ui_->Mentes->setEnabled(!variants_.empty());

  QTableWidget& grid = *ui_->Tablazat;
  grid.clear();
  const std::vector<std::string> names = VariantNames(variants_);
  grid.setColumnCount(static_cast<int>(variants_.size()));
  QStringList heads;
  for (const std::string& name : names) heads << FromUtf8(name);
  grid.setHorizontalHeaderLabels(heads);
  if (!table_) {
    // One variant: its texts, so the user sees what is there to compare.
    grid.setRowCount(variants_.empty() ? 0 : static_cast<int>(kFieldCount));
    QStringList rows;
    for (const Field field : kAllFields) {
      const InputCaption& caption = input_captions_[Index(field)];
      rows << WithUnit(caption.text, caption.unit);
      if (!variants_.empty()) {
        grid.setItem(static_cast<int>(Index(field)), 0,
                     new QTableWidgetItem(FromUtf8(variants_[0].texts[Index(field)])));
      }
    }
    if (!variants_.empty()) grid.setVerticalHeaderLabels(rows);
    ui_->Grafikon->Perform(ChartOperations{Cls{}});
    return;
  }
  const VariantsTable& table = *table_;
  grid.setRowCount(static_cast<int>(table.rows.size()));
  for (int r = 0; r < static_cast<int>(table.rows.size()); ++r) {
    const VariantRow& row = table.rows[static_cast<std::size_t>(r)];
    const QString caption = RowCaption(row, static_cast<std::size_t>(r));
    auto* head = new QTableWidgetItem(
        row.differs ? Text(VariantsText::kDiffers) + QLatin1Char(' ') + caption : caption);
    if (row.differs) {
      QFont bold = head->font();
      bold.setBold(true);
      head->setFont(bold);
    }
    grid.setVerticalHeaderItem(r, head);
    for (int c = 0; c < static_cast<int>(row.cells.size()); ++c) {
      const bool marked = !row.marked.empty() && row.marked[static_cast<std::size_t>(c)];
      QString text = FromUtf8(row.cells[static_cast<std::size_t>(c)]);
      if (marked)
        text += QLatin1Char(' ') +
                Text(row.key == "L" ? VariantsText::kShortestPayback : VariantsText::kBestBalance);
      auto* cell = new QTableWidgetItem(text);
      cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      cell->setTextAlignment(
          (row.kind == VariantRow::Kind::kVerdict ? Qt::AlignLeft : Qt::AlignRight) |
          Qt::AlignVCenter);
      if (marked || row.differs) {
        QFont bold = cell->font();
        bold.setBold(true);
        cell->setFont(bold);
      }
      grid.setItem(r, c, cell);
    }
  }
  grid.resizeRowsToContents();
  ui_->Grafikon->Perform(table.chart);
}

QString VariantsWindow::RowCaption(const VariantRow& row, std::size_t index) const {
  QString caption;
  switch (row.kind) {
    case VariantRow::Kind::kInput: {
      const InputCaption& c = input_captions_[index];
      caption = WithUnit(c.text, c.unit);
      break;
    }
    case VariantRow::Kind::kResult:
      caption = result_captions_[index - kFieldCount];
      break;
    case VariantRow::Kind::kNpv:
      caption = FromUtf8(TextOf(AnalysisText::kNpvCaption));
      break;
    case VariantRow::Kind::kInternalRate:
      caption = FromUtf8(TextOf(AnalysisText::kInternalRateCaption));
      break;
    case VariantRow::Kind::kVerdict:
      caption = Text(VariantsText::kVerdictCaption);
      break;
  }
  if (caption.endsWith(QLatin1Char(':'))) caption.chop(1);
  return caption;
}

std::optional<VariantsReport> VariantsWindow::ReportPart() const {
  if (!table_) return std::nullopt;
  VariantsReport report{*table_, {}};
  for (std::size_t r = 0; r < table_->rows.size(); ++r) {
    report.captions << RowCaption(table_->rows[r], r);
  }
  return report;
}

bool VariantsWindow::SaveVariants(const QString& first_path) {
  const std::vector<std::string> names = VariantNames(variants_);
  const QDir folder = QFileInfo(first_path).dir();
  QStringList written;
  for (std::size_t i = 0; i < variants_.size(); ++i) {
    const std::string text = ScenarioText(variants_[i].texts);
    // Only the first file was chosen (and its replacing confirmed) by the
    // user: the others never replace a file of other content, nor each other.
    const auto taken = [&](const QString& path) {
      if (written.contains(QDir::toNativeSeparators(path))) return true;
      if (!QFileInfo::exists(path)) return false;
      const auto held = ReadRegularFile(QFile::encodeName(path).toStdString(), text.size() + 1);
      return !std::holds_alternative<std::string>(held) || std::get<std::string>(held) != text;
    };
    QString path = i == 0 ? first_path : folder.filePath(FileNameOf(FromUtf8(names[i])));
    for (int n = 2; i > 0 && taken(path); ++n) {
      path = folder.filePath(FileNameOf(FromUtf8(names[i]) + QStringLiteral("-%1").arg(n)));
    }
    if (const auto failure = WriteFileSafely(QFile::encodeName(path).toStdString(), text)) {
      reporter_.ShowProblem(
          this, Text(VariantsText::kSave),
          QStringLiteral("A forgatókönyv nem menthető ide:\n%1\n\n%2 Az ott lévő fájl, ha volt, "
                         "változatlan maradt.")
              .arg(QDir::toNativeSeparators(path), QString::fromStdString(failure->reason)));
      return false;
    }
    written << QDir::toNativeSeparators(path);
  }
  saved_ = written;
  Refresh();
  return true;
}

void VariantsWindow::AddCurrent_Click() {
  if (current_) AddVariant(current_());
}

void VariantsWindow::Open_Click() {
  const QString path = chooser_->ChooseOpen(this, FromUtf8(kOpenScenarioTitle), kScenarioFilter);
  if (!path.isEmpty()) AddFile(path);
}

void VariantsWindow::Remove_Click() {
  if (variants_.empty()) return;
  const QList<QTableWidgetSelectionRange> ranges = ui_->Tablazat->selectedRanges();
  // Without a selection the last variant goes.
  const std::size_t index = ranges.isEmpty()
                                ? variants_.size() - 1
                                : static_cast<std::size_t>(ranges.first().leftColumn());
  RemoveVariant(index);
}

void VariantsWindow::Save_Click() {
  if (variants_.empty()) return;
  const std::vector<std::string> names = VariantNames(variants_);
  QString path = chooser_->ChooseSave(this, Text(VariantsText::kSave),
                                      FileNameOf(FromUtf8(names[0])), kScenarioFilter);
  if (path.isEmpty()) return;
  if (!path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)) {
    path += QString::fromUtf8(kScenarioSuffix);
  }
  SaveVariants(path);
}

void VariantsWindow::showEvent(QShowEvent* event) {
  // Opened for the first time: the current scenario is the first variant.
  if (variants_.empty() && current_) AddVariant(current_());
  QWidget::showEvent(event);
}

void VariantsWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void VariantsWindow::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); })) {
    event->acceptProposedAction();
  }
}

void VariantsWindow::dropEvent(QDropEvent* event) {
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile() && !AddFile(url.toLocalFile())) break;
  }
  event->acceptProposedAction();
}

}  // namespace zr
