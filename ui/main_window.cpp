#include "main_window.h"

#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>
#include <limits>

#include "analysis_window.h"
#include "assets.h"
#include "chart_frame.h"
#include "error_reporter.h"
#include "fonts.h"
#include "input_captions.h"
#include "input_set.h"
#include "ui_main_window.h"

namespace zr {

namespace {

struct ControlFont {
  const char* control;
  const char* family;
  qreal points;
  bool bold;
  bool italic;
};

// Every control with a font of its own; the rest take the window's
// MS Sans Serif 8.25. The form cannot hold fractional point sizes.
constexpr ControlFont kControlFonts[] = {
    {"Command1", kArial, 9.75, true, false},
    {"Command2", kArial, 9.75, true, false},
    {"Label29", kMsSansSerif, 9.75, true, false},
    {"Label13", kMsSansSerif, 9.75, true, false},
    {"Label28", kMsSansSerif, 9.75, true, false},
    {"L", kMsSansSerif, 9.75, true, false},
    {"Label10", kMsSansSerif, 8.25, true, false},
    {"Osszeskoltsb", kMsSansSerif, 8.25, true, false},
    {"Label14", kMsSansSerif, 8.25, true, false},
    {"Megtakaritevesb", kMsSansSerif, 8.25, true, false},
    {"Label27", kMsSansSerif, 8.25, true, false},
    {"Egyenlegb", kMsSansSerif, 8.25, true, false},
    {"Label11", kMsSansSerif, 8.25, true, false},
    {"Szolarhoarb", kMsSansSerif, 8.25, true, false},
    {"Label32", kArial, 8.25, true, false},
    {"Label30", kArial, 9.75, true, false},
    {"Label31", kArial, 9.75, true, false},
    {"Label33", kArialBlack, 15.75, true, true},
};

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

MainWindow::MainWindow(ErrorReporter& reporter, NumberFormat format, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::Zeltano>()),
      reporter_(reporter),
      format_(std::move(format)),
      background_(kBackgroundPath) {
  ui_->setupUi(this);
  SetUpControls();
  analysis_ = std::make_unique<AnalysisWindow>(ReadInputCaptions(*this), format_);
  connect(new QShortcut(QKeySequence(Qt::Key_F2), this), &QShortcut::activated, this,
          &MainWindow::ShowAnalysis);
  Form_Load();
}

MainWindow::~MainWindow() = default;

void MainWindow::SetUpControls() {
  setFixedSize(size());
  setFont(LayoutFont(kMsSansSerif, 8.25));
  for (const ControlFont& entry : kControlFonts) {
    auto* control = findChild<QWidget*>(entry.control);
    Q_ASSERT(control != nullptr);
    control->setFont(LayoutFont(entry.family, entry.points, entry.bold, entry.italic));
  }

  ui_->Picture1->SetPicture(SvgPicture(kBannerPath));
  ui_->Label31->setText(QStringLiteral("Verzió " ZELTANO_VERSION));
  ui_->graf->SetNumberFormat(format_);
  // graf_Paint: a repaint draws the chart frame over the kept drawing.
  ui_->graf->SetRepaintOperations(DrawChartFrame());

  const InputTexts startup = StartupTexts(format_);
  for (const Field field : kAllFields) {
    const QString name = FromUtf8(std::string(FieldName(field)) + "b");
    QLineEdit* box = findChild<QLineEdit*>(name);
    Q_ASSERT(box != nullptr);
    box->setMaxLength(std::numeric_limits<int>::max());  // a text box has no length limit
    box->setText(FromUtf8(startup[Index(field)]));
    inputs_[Index(field)] = box;
  }
  for (std::size_t i = 0; i < kResultLabelCount; ++i) {
    const QString name = FromUtf8(std::string(LabelName(static_cast<ResultLabel>(i))));
    results_[i] = findChild<QLabel*>(name);
    Q_ASSERT(results_[i] != nullptr);
  }

  connect(ui_->Command1, &QPushButton::clicked, this, &MainWindow::Command1_Click);
  connect(ui_->Command2, &QPushButton::clicked, this, &MainWindow::Command2_Click);
  // The access keys work with Shift held too (Caps Lock, or a shifted
  // letter), as the mnemonics alone do not match Alt+Shift+letter.
  const auto shifted_access_key = [this](Qt::Key key, QPushButton* button) {
    auto* shortcut = new QShortcut(
        QKeySequence(QKeyCombination(Qt::AltModifier | Qt::ShiftModifier, key)), this);
    connect(shortcut, &QShortcut::activated, button, &QPushButton::animateClick);
  };
  shifted_access_key(Qt::Key_S, ui_->Command1);
  shifted_access_key(Qt::Key_K, ui_->Command2);

  // The tab order starts at the chart box, which therefore has the focus
  // when the window is first shown.
  ui_->graf->setFocus();
}

void MainWindow::Form_Load() { Command1_Click(); }

void MainWindow::ShowError(const std::string& message) {
  reporter_.ShowError(this, FromUtf8(message));
}

void MainWindow::Command1_Click() {
  InputTexts texts;
  for (const Field field : kAllFields) {
    texts[Index(field)] = inputs_[Index(field)]->text().toStdString();
  }
  const RunOutcome outcome = CalculationRun(texts, format_);

  // The clear and the pen width come first, so the box stands empty while
  // any message is open.
  const ChartOperations& chart = outcome.chart;
  const auto first_plot =
      chart.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(2, chart.size()));
  ui_->graf->Perform(ChartOperations(chart.begin(), first_plot));

  for (const ValidationFinding& finding : outcome.findings) {
    ShowError(finding.message);
    inputs_[Index(finding.field)]->setText(FromUtf8(finding.replacement));
  }
  if (outcome.fault) ShowError(*outcome.fault);

  for (std::size_t i = 0; i < kResultLabelCount; ++i) {
    const auto& text = outcome.labels[i];
    results_[i]->setText(text ? FromUtf8(*text) : QString());
  }
  ui_->graf->Perform(ChartOperations(first_plot, chart.end()));
  analysis_->FollowRun(outcome);
}

void MainWindow::Command2_Click() { close(); }

void MainWindow::ShowAnalysis() {
  analysis_->show();
  analysis_->raise();
  analysis_->activateWindow();
}

void MainWindow::paintEvent(QPaintEvent*) {
  // Unscaled from the top-left corner; the light yellow back colour shows
  // wherever the picture is transparent or missing.
  QPainter painter(this);
  background_.Draw(painter, QPoint(0, 0), devicePixelRatioF());
}

}  // namespace zr
