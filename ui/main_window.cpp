#include "main_window.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QUrl>
#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>
#include <variant>

#include "analysis_window.h"
#include "assets.h"
#include "chart_export.h"
#include "chart_frame.h"
#include "energy_price_dialog.h"
#include "error_reporter.h"
#include "figure_fit.h"
#include "fonts.h"
#include "input_captions.h"
#include "input_set.h"
#include "qt_text.h"
#include "require_child.h"
#include "risk_view.h"
#include "risk_window.h"
#include "safe_file.h"
#include "scenario_file.h"
#include "ui_main_window.h"
#include "user_guide.h"
#include "variants.h"
#include "variants_window.h"
#include "verdict.h"

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

// The caption label of each value label, by ResultLabel.
constexpr std::array<const char*, kResultLabelCount> kResultCaptions = {
    "Label3",  "Label12", "Label26", "Label7",  "Label8", "Label9",
    "Label10", "Label11", "Label14", "Label27", "Label28"};

// The value labels in the order they stand on the screen.
constexpr std::array<ResultLabel, kResultLabelCount - 1> kResultsOnScreen = {
    ResultLabel::Valberuhazasb,  ResultLabel::Hozamb,          ResultLabel::Eveskoltsb,
    ResultLabel::Karbeveskoltsb, ResultLabel::Uzemeveskoltsb,  ResultLabel::Egyebeveskoltsb,
    ResultLabel::Osszeskoltsb,   ResultLabel::Megtakaritevesb, ResultLabel::Egyenlegb,
    ResultLabel::Szolarhoarb};

// A caption in a list of figures: without the closing colon and blanks.
QString ListCaption(const QString& caption) {
  QString text = caption.trimmed();
  if (text.endsWith(':')) text.chop(1);
  return text;
}

// A caption as a name: without the blanks some captions end with.
QString CaptionName(const QLabel& caption) { return caption.text().trimmed(); }

// What the chart shows, for a screen reader: the payback time and whether
// the savings reach the cost.
QString ChartDescription(const QString& payback) {
  const QString subject = QStringLiteral(
      "Az éves költség és a megtakarítás éves értéke a vizsgált időszak hosszának "
      "függvényében. ");
  if (payback.isEmpty()) {
    return subject + QStringLiteral("A számítás nem jutott el a megtérülési időig.");
  }
  if (payback == QString::fromUtf8(kNoPaybackText)) {
    return subject + QStringLiteral(
                         "Megtérülési idő: nincs; a megtakarítás 100 év alatt sem éri el a "
                         "költséget.");
  }
  return subject + QStringLiteral(
                       "Megtérülési idő: %1 év; ettől az időszaktól kezdve a "
                       "megtakarítás eléri a költséget.")
                       .arg(payback);
}

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
  risk_ = std::make_unique<RiskWindow>(ReadInputCaptions(*this), format_);
  Form_Load();
}

MainWindow::~MainWindow() = default;

void MainWindow::SetUpControls() {
  setFixedSize(size());
  title_ = windowTitle();
  setFont(LayoutFont(kMsSansSerif, 8.25));
  for (const ControlFont& entry : kControlFonts) {
    auto* control = RequireChild<QWidget>(*this, entry.control);
    control->setFont(LayoutFont(entry.family, entry.points, entry.bold, entry.italic));
  }

  ui_->Picture1->SetPicture(SvgPicture(kBannerPath));
  ui_->Label31->setText(ui_->Label31->text().arg(QStringLiteral(ZELTANO_VERSION)));
  ui_->graf->SetNumberFormat(format_);
  // graf_Paint: a repaint draws the chart frame over the kept drawing.
  ui_->graf->SetRepaintOperations(DrawChartFrame());

  const InputTexts startup = StartupTexts(format_);
  for (const Field field : kAllFields) {
    const QString name = FromUtf8(std::string(FieldName(field)) + "b");
    QLineEdit* box = RequireChild<QLineEdit>(*this, name);
    box->setMaxLength(std::numeric_limits<int>::max());  // a text box has no length limit
    box->setText(FromUtf8(startup[Index(field)]));
    inputs_[Index(field)] = box;
    connect(box, &QLineEdit::textChanged, this, &MainWindow::UpdateTitle);
  }
  for (std::size_t i = 0; i < kResultLabelCount; ++i) {
    const QString name = FromUtf8(std::string(LabelName(static_cast<ResultLabel>(i))));
    results_[i] = RequireChild<QLabel>(*this, name);
    result_fonts_[i] = results_[i]->font();
    result_captions_[i] = RequireChild<QLabel>(*this, kResultCaptions[i]);
    results_[i]->setAccessibleName(CaptionName(*result_captions_[i]));
  }
  // The panels and the chart box take the focus, so they carry names.
  ui_->Picture1->setAccessibleName(QStringLiteral("Zeltano-Redurir"));
  ui_->Picture1->setAccessibleDescription(QStringLiteral("A program emblémája és neve"));
  ui_->Picture2->setAccessibleName(QStringLiteral("Bemenő, felvett adatok"));
  ui_->Picture3->setAccessibleName(QStringLiteral("Számított értékek"));
  ui_->graf->setAccessibleName(QStringLiteral("Grafikon: költség és haszon"));

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

  SetUpMenu();
  AttachEnergyPriceHelper(
      *this, format_, [this] { return carrier_; },
      [this](const CarrierChoice& choice) { SetCarrier(choice); });

  // The tab order starts at the chart box, which therefore has the focus
  // when the window is first shown.
  ui_->graf->setFocus();
}

void MainWindow::Form_Load() { Command1_Click(); }

QAction* MainWindow::AddCommand(const QString& text, const QKeySequence& keys,
                                void (MainWindow::*handler)()) {
  auto* action = new QAction(text, this);
  action->setShortcut(keys);
  connect(action, &QAction::triggered, this, handler);
  addAction(action);
  return action;
}

void MainWindow::SetUpMenu() {
  // The layout has no menu bar: the commands are on a right click anywhere
  // on the window (the boxes keep their own editing menu) and on the
  // standard shortcuts.
  setContextMenuPolicy(Qt::ActionsContextMenu);
  AddCommand(QStringLiteral("Forgatókönyv &megnyitása…"), QKeySequence::Open,
             &MainWindow::Open_Click);
  AddCommand(QStringLiteral("Forgatókönyv me&ntése"), QKeySequence::Save, &MainWindow::Save_Click);
  AddCommand(QStringLiteral("Mentés má&sként…"),
             // Not every desktop binds the standard Save As key.
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &MainWindow::SaveAs_Click);
  AddCommand(QStringLiteral("&Jelentés PDF-ben…"), QKeySequence::Print, &MainWindow::Report_Click);
  AddCommand(QStringLiteral("&Eredmények másolása"), QKeySequence::Copy,
             &MainWindow::CopyResults_Click);
  AddCommand(QStringLiteral("&Grafikon mentése képként…"), QKeySequence(),
             &MainWindow::ChartImage_Click);
  AddCommand(QStringLiteral("E&lemzés"), QKeySequence(Qt::Key_F2), &MainWindow::ShowAnalysis);
  AddCommand(QStringLiteral("&") + FromUtf8(TextOf(RiskText::kTitle)), QKeySequence(Qt::Key_F3),
             &MainWindow::ShowRisk);
  AddCommand(QStringLiteral("&") + FromUtf8(TextOf(VariantsText::kTitle)), QKeySequence(Qt::Key_F6),
             &MainWindow::ShowVariants);
  AddCommand(QStringLiteral("Felhasználói ú&tmutató"), QKeySequence::HelpContents,
             &MainWindow::Help_Click);
  // A box without a selection lets Ctrl+C through to the window.
  for (QLineEdit* box : inputs_) box->installEventFilter(this);
  open_url_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

InputTexts MainWindow::BoxTexts() const {
  InputTexts texts;
  for (const Field field : kAllFields) {
    texts[Index(field)] = inputs_[Index(field)]->text().toStdString();
  }
  return texts;
}

bool MainWindow::ScenarioChanged() const {
  return !scenario_path_.isEmpty() &&
         (BoxTexts() != scenario_texts_ || carrier_ != scenario_carrier_);
}

void MainWindow::SetCarrier(const std::optional<CarrierChoice>& carrier) {
  carrier_ = carrier;
  analysis_->SetCarrier(carrier_);
  UpdateTitle();
}

void MainWindow::UpdateTitle() {
  QWidget* top = window();
  if (scenario_path_.isEmpty()) {
    top->setWindowTitle(title_);
  } else {
    // "[*]" stands where Qt puts the mark; one in the name is doubled to
    // stay as it is.
    QString name = QFileInfo(scenario_path_).fileName();
    name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    top->setWindowTitle(QStringLiteral("%1[*] – %2").arg(name, title_));
  }
  top->setWindowModified(ScenarioChanged());
}

bool MainWindow::MayClose() {
  if (!ScenarioChanged()) return true;
  switch (chooser_->AskUnsaved(window(), QDir::toNativeSeparators(scenario_path_))) {
    case UnsavedAnswer::kSave:
      return SaveScenario(scenario_path_);
    case UnsavedAnswer::kDiscard:
      return true;
    case UnsavedAnswer::kCancel:
      break;
  }
  return false;
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Shown inside a scrolling frame, the frame is the window the desktop
  // titles and closes.
  if (window() != this) window()->installEventFilter(this);
  UpdateTitle();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (MayClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Close && watched == window() && watched != this) {
    if (!MayClose()) event->ignore();
    return !event->isAccepted();
  }
  if (event->type() == QEvent::ShortcutOverride) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box != nullptr && !box->hasSelectedText() &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
      event->ignore();  // not the box's: the window's shortcut takes it
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

QString MainWindow::ResultsText() const {
  QString text;
  const auto row = [&text](const QString& caption, const std::optional<std::string>& value) {
    text += ListCaption(caption) + '\t' + FromUtf8(value.value_or("")) + '\n';
  };
  for (const ResultLabel label : kResultsOnScreen) {
    const auto i = static_cast<std::size_t>(label);
    row(result_captions_[i]->text(), last_outcome_.labels[i]);
  }
  const auto l = static_cast<std::size_t>(ResultLabel::L);
  row(result_captions_[l]->text(), last_outcome_.labels[l]);
  return text;
}

void MainWindow::CopyResults_Click() { QGuiApplication::clipboard()->setText(ResultsText()); }

void MainWindow::Help_Click() {
  const QString title = QStringLiteral("Felhasználói útmutató");
  const QString guide = FindUserGuide();
  if (guide.isEmpty()) {
    reporter_.ShowProblem(this, title,
                          QStringLiteral("A felhasználói útmutató nem található. A telepített "
                                         "program a share/doc/zeltano-redurir mappában tartja."));
    return;
  }
  if (!open_url_(QUrl::fromLocalFile(guide))) {
    reporter_.ShowProblem(this, title,
                          QStringLiteral("A felhasználói útmutató nem nyitható meg:\n%1")
                              .arg(QDir::toNativeSeparators(guide)));
  }
}

ReportContent MainWindow::ReportOfLastRun() const {
  ReportContent report;
  report.date = QDate::currentDate();
  if (!scenario_path_.isEmpty()) report.scenario = QFileInfo(scenario_path_).fileName();
  for (const Field field : kAllFields) {
    report.inputs.push_back({ListCaption(inputs_[Index(field)]->accessibleName()),
                             FromUtf8(last_outcome_.corrected[Index(field)])});
  }
  for (const ResultLabel label : kResultsOnScreen) {
    const auto i = static_cast<std::size_t>(label);
    report.results.push_back(
        {ListCaption(result_captions_[i]->text()), FromUtf8(last_outcome_.labels[i].value_or(""))});
  }
  report.payback =
      FromUtf8(last_outcome_.labels[static_cast<std::size_t>(ResultLabel::L)].value_or(""));
  if (last_outcome_.fault) report.fault = FromUtf8(*last_outcome_.fault);
  report.verdict = FromUtf8(VerdictOf(last_outcome_, format_).text);
  if (carrier_) report.avoided_co2 = analysis_->Co2Text().replace(u'\n', u' ');
  report.chart = last_outcome_.chart;
  report.chart_font = ui_->graf->ChartFont();
  report.format = format_;
  report.risk = risk_->Report();
  if (variants_) report.variants = variants_->ReportPart();
  return report;
}

void MainWindow::ShowError(const std::string& message) {
  reporter_.ShowError(this, FromUtf8(message));
}

void MainWindow::Command1_Click() {
  const RunOutcome outcome = CalculationRun(BoxTexts(), format_);

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
    ShowFigure(*results_[i], result_fonts_[i], text ? FromUtf8(*text) : QString());
  }
  ui_->graf->Perform(ChartOperations(first_plot, chart.end()));
  const auto& payback = outcome.labels[static_cast<std::size_t>(ResultLabel::L)];
  ui_->graf->setAccessibleDescription(ChartDescription(payback ? FromUtf8(*payback) : QString()));
  // The verdict changes no control of the form: a screen reader reads it as
  // what the results mean.
  ui_->Picture3->setAccessibleDescription(FromUtf8(VerdictOf(outcome, format_).text));
  last_outcome_ = outcome;
  analysis_->FollowRun(outcome);
  risk_->FollowRun(outcome);
}

void MainWindow::Command2_Click() {
  // On a small screen the window sits in a scrolling frame: close that.
  window()->close();
}

void MainWindow::ShowAnalysis() {
  if (!analysis_fitted_) {
    analysis_fitted_ = true;
    FitLaidOutWindow(*analysis_, window()->screen()->availableGeometry());
  }
  analysis_->show();
  analysis_->raise();
  analysis_->activateWindow();
}

void MainWindow::SetScale(qreal scale) {
  ui_->graf->SetScale(scale);  // before its font is scaled
  ScaleFormLayout(*this, scale);
  scale_ = scale;
  ui_->Picture1->SetScale(scale);
  // The figures fit their labels again from their layout fonts, scaled; the
  // chart is drawn anew at its new size.
  for (std::size_t i = 0; i < kResultLabelCount; ++i) {
    result_fonts_[i].setPointSizeF(
        ScaledPoints(result_fonts_[i].pointSizeF(), scale, logicalDpiY()));
    const auto& text = last_outcome_.labels[i];
    ShowFigure(*results_[i], result_fonts_[i], text ? FromUtf8(*text) : QString());
  }
  ui_->graf->Perform(last_outcome_.chart);
  update();
}

void MainWindow::ShowRisk() {
  if (!risk_fitted_) {
    risk_fitted_ = true;
    FitLaidOutWindow(*risk_, window()->screen()->availableGeometry());
  }
  risk_->show();
  risk_->raise();
  risk_->activateWindow();
}

void MainWindow::paintEvent(QPaintEvent*) {
  // From the top-left corner, at the form's scale; the light yellow back
  // colour shows wherever the picture is transparent or missing.
  QPainter painter(this);
  background_.Draw(painter, QPoint(0, 0), devicePixelRatioF(), scale_);
}

}  // namespace zr
