// The window's file commands: scenarios opened and saved, the report and
// the chart image written, each through one safe writer that leaves the old
// file alone and tells why when it fails.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <string>
#include <string_view>
#include <variant>

#include "chart_export.h"
#include "error_reporter.h"
#include "file_chooser.h"
#include "main_window.h"
#include "report.h"
#include "safe_file.h"
#include "scenario_file.h"
#include "ui_main_window.h"

namespace zr {

namespace {

// What is shown when a file cannot be written: what failed, where and why.
QString CannotWriteText(const QString& what, const QString& path, const FileFailure& failure) {
  return QStringLiteral("%1\n%2\n\n%3 Az ott lévő fájl, ha volt, változatlan maradt.")
      .arg(what, QDir::toNativeSeparators(path), QString::fromStdString(failure.reason));
}

const QString kScenarioFilter = QStringLiteral(
    "Zeltano-Redurir forgatókönyv (*.zeltano.json);;JSON-fájl (*.json);;Minden fájl (*)");

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

const QString kOpenTitle = FromUtf8(std::string(kOpenScenarioTitle));
const QString kSaveTitle = FromUtf8(std::string(kSaveScenarioTitle));

}  // namespace

QString MainWindow::AskWhereToSave(const QString& title, const QString& suggested,
                                   const QString& filter,
                                   std::initializer_list<const char*> accepted, const char* added) {
  QString path = chooser_->ChooseSave(this, title, suggested, filter);
  if (path.isEmpty()) return path;
  for (const char* suffix : accepted) {
    if (path.endsWith(QLatin1String(suffix), Qt::CaseInsensitive)) return path;
  }
  return path + QString::fromUtf8(added != nullptr ? added : *accepted.begin());
}

void MainWindow::Open_Click() {
  const QString path = chooser_->ChooseOpen(this, kOpenTitle, kScenarioFilter);
  if (!path.isEmpty()) OpenScenario(path);
}

void MainWindow::Save_Click() {
  if (scenario_path_.isEmpty()) {
    SaveAs_Click();
  } else {
    SaveScenario(scenario_path_);
  }
}

void MainWindow::SaveAs_Click() {
  const QString suggested =
      scenario_path_.isEmpty() ? QStringLiteral("forgatokonyv") + QString::fromUtf8(kScenarioSuffix)
                               : scenario_path_;
  const QString path =
      AskWhereToSave(kSaveTitle, suggested, kScenarioFilter, {".json"}, kScenarioSuffix);
  if (!path.isEmpty()) SaveScenario(path);
}

bool MainWindow::OpenScenario(const QString& path) {
  const auto refuse = [&](const QString& reason) {
    reporter_.ShowProblem(
        this, kOpenTitle,
        (FromUtf8(std::string(kCannotOpenScenario)) + QStringLiteral("\n%1\n\n%2"))
            .arg(QDir::toNativeSeparators(path), reason));
    return false;
  };
  const auto content = ReadRegularFile(QFile::encodeName(path).toStdString(), kMaxScenarioBytes);
  if (const auto* failure = std::get_if<FileFailure>(&content)) {
    return refuse(QString::fromStdString(failure->reason));
  }
  const auto parsed = ParseScenario(std::get<std::string>(content), format_);
  if (const auto* reason = std::get_if<std::string>(&parsed)) return refuse(FromUtf8(*reason));

  const Scenario& scenario = std::get<Scenario>(parsed);
  for (const Field field : kAllFields) {
    inputs_[Index(field)]->setText(FromUtf8(scenario.texts[Index(field)]));
  }
  scenario_path_ = path;
  scenario_texts_ = scenario.texts;
  scenario_carrier_ = scenario.carrier;
  SetCarrier(scenario.carrier);
  Command1_Click();
  UpdateTitle();
  return true;
}

bool MainWindow::WriteUserFile(const QString& path, const QByteArray& bytes, const QString& title,
                               const QString& what) {
  const std::optional<FileFailure> failure =
      bytes.isEmpty() ? std::optional(FileFailure{"A fájl tartalma nem állítható elő."})
                      : WriteFileSafely(QFile::encodeName(path).toStdString(),
                                        std::string_view(bytes.constData(),
                                                         static_cast<std::size_t>(bytes.size())));
  if (failure) reporter_.ShowProblem(this, title, CannotWriteText(what, path, *failure));
  return !failure;
}

bool MainWindow::SaveChartImage(const QString& path) {
  const QByteArray image = path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)
                               ? ChartSvg(*ui_->graf, last_outcome_.chart)
                               : ChartPng(*ui_->graf);
  return WriteUserFile(path, image, QStringLiteral("Grafikon mentése"),
                       QStringLiteral("A grafikon nem menthető ide:"));
}

void MainWindow::ChartImage_Click() {
  const QString path =
      AskWhereToSave(QStringLiteral("Grafikon mentése képként"), QStringLiteral("grafikon.png"),
                     QStringLiteral("PNG-kép (*.png);;SVG-rajz (*.svg)"), {".png", ".svg"});
  if (!path.isEmpty()) SaveChartImage(path);
}

bool MainWindow::WriteReportTo(const QString& path) {
  return WriteUserFile(path, ReportPdf(ReportOfLastRun()), QStringLiteral("Jelentés"),
                       QStringLiteral("A jelentés nem írható ide:"));
}

void MainWindow::Report_Click() {
  QString suggested = QStringLiteral("jelentes.pdf");
  if (!scenario_path_.isEmpty()) {
    QString base = QFileInfo(scenario_path_).fileName();
    base.chop(base.endsWith(QString::fromUtf8(kScenarioSuffix))
                  ? static_cast<qsizetype>(std::strlen(kScenarioSuffix))
                  : base.size() - QFileInfo(scenario_path_).completeBaseName().size());
    suggested = QFileInfo(scenario_path_).dir().filePath(base + QStringLiteral(".pdf"));
  }
  const QString path = AskWhereToSave(QStringLiteral("Jelentés mentése PDF-be"), suggested,
                                      QStringLiteral("PDF-dokumentum (*.pdf)"), {".pdf"});
  if (!path.isEmpty()) WriteReportTo(path);
}

bool MainWindow::SaveScenario(const QString& path) {
  const std::string text = ScenarioText(BoxTexts(), carrier_);
  if (!WriteUserFile(path, QByteArray::fromStdString(text), kSaveTitle,
                     QStringLiteral("A forgatókönyv nem menthető ide:"))) {
    return false;
  }
  scenario_path_ = path;
  scenario_texts_ = BoxTexts();
  scenario_carrier_ = carrier_;
  UpdateTitle();
  return true;
}

}  // namespace zr
