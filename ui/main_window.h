#pragma once
// The program's one window, Zeltano: its controls come from the form; its
// handlers read the input boxes, run the calculation and show the outcome.

#include <QFont>
#include <QWidget>
#include <array>
#include <functional>
#include <initializer_list>
#include <memory>

#include "calculation_run.h"
#include "energy_price.h"
#include "file_chooser.h"
#include "number_format.h"
#include "report.h"
#include "screen_fit.h"
#include "svg_picture.h"

class QAction;
class QKeySequence;
class QLabel;
class QLineEdit;
class QUrl;

namespace Ui {
class Zeltano;
}

namespace zr {

class AnalysisWindow;
class RiskWindow;
class ErrorReporter;
class VariantsWindow;

class MainWindow : public QWidget, public ScalableForm {
  Q_OBJECT

 public:
  // Builds the window and performs its load event: the start-up calculation
  // runs here, before the window is first shown.
  MainWindow(ErrorReporter& reporter, NumberFormat format, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Calculate: one run on the texts the boxes hold now.
  void Command1_Click();
  // Exit: closes the window, which ends the program.
  void Command2_Click();

  // The right-click menu's commands, each also on its standard shortcut.
  void Open_Click();    // Ctrl+O
  void Save_Click();    // Ctrl+S: to the scenario's file, else as Save As
  void SaveAs_Click();  // Ctrl+Shift+S

  // Reads the scenario at `path` into the boxes and calculates, as if the
  // texts had been typed. A file that is no scenario changes nothing: a
  // message says why. False when nothing was read.
  bool OpenScenario(const QString& path);
  // Writes the boxes' texts to `path` atomically: a failed save leaves any
  // file there as it was. False (after a message) when it failed.
  bool SaveScenario(const QString& path);
  // The file of the scenario last opened or saved; empty before that.
  const QString& ScenarioPath() const { return scenario_path_; }
  // Whether the boxes (or the energy carrier) differ from that file's
  // (always false without one).
  bool ScenarioChanged() const;
  // The energy carrier the solar heat replaces: as the energy price helper
  // last wrote box 15, or as the scenario file names it; nullopt while unknown.
  const std::optional<CarrierChoice>& Carrier() const { return carrier_; }
  void SetCarrier(const std::optional<CarrierChoice>& carrier);

  void Report_Click();  // Ctrl+P
  // Writes the PDF report of the last run to `path`; false (after a
  // message) when it cannot.
  bool WriteReportTo(const QString& path);
  // What the report of the last run holds.
  ReportContent ReportOfLastRun() const;

  // Ctrl+C: the results as tab-separated caption and value lines, which
  // paste into a spreadsheet. A box with a selection copies that instead.
  void CopyResults_Click();
  void ChartImage_Click();
  // Writes the chart as SVG when `path` ends in .svg, else as PNG.
  bool SaveChartImage(const QString& path);
  void Help_Click();  // F1: the user guide
  // The results as CopyResults_Click puts them on the clipboard.
  QString ResultsText() const;

  // Tests answer the file dialogs through this.
  void SetFileChooser(FileChooser& chooser) { chooser_ = &chooser; }
  // Tests see the guide's address through this instead of a browser.
  void SetUrlOpener(std::function<bool(const QUrl&)> opener) { open_url_ = std::move(opener); }

  // Opens the "Elemzés" window (F2) and brings it to the front; the first
  // time scaled down as a whole where it does not fit the screen.
  void ShowAnalysis();
  // Opens the "Kockázat" window (F3) and brings it to the front.
  void ShowRisk();
  // Opens the "Változatok" window (F6), made at its first opening.
  void ShowVariants();
  VariantsWindow* Variants() const { return variants_.get(); }

  // The form laid out at `scale` of its layout, as one: places, sizes,
  // fonts, the pictures and the chart. Once, before the window is shown.
  void SetScale(qreal scale) override;
  qreal Scale() const { return scale_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // Closing with a changed scenario asks whether to save it first.
  void closeEvent(QCloseEvent* event) override;

 private:
  void SetUpControls();
  void Form_Load();
  void ShowError(const std::string& message);
  void SetUpMenu();
  QAction* AddCommand(const QString& text, const QKeySequence& keys, void (MainWindow::*handler)());
  InputTexts BoxTexts() const;
  // The title of the window (or of the scrolling frame it is shown in): the
  // scenario's file name, marked while changed.
  void UpdateTitle();
  // False when the user keeps the window open (or a save asked for failed).
  bool MayClose();
  // Writes `bytes` to `path` so that a failure leaves the old file as it
  // was; false, after a message titled `title` that begins with `what`,
  // when it cannot (or when `bytes` is empty: nothing could be made).
  bool WriteUserFile(const QString& path, const QByteArray& bytes, const QString& title,
                     const QString& what);
  // The save dialog's answer, with `added` (else the first of `accepted`)
  // put after a name that ends in none of `accepted`; empty when cancelled.
  QString AskWhereToSave(const QString& title, const QString& suggested, const QString& filter,
                         std::initializer_list<const char*> accepted, const char* added = nullptr);

  std::unique_ptr<Ui::Zeltano> ui_;
  ErrorReporter& reporter_;
  NumberFormat format_;
  SvgPicture background_;
  DialogFileChooser dialogs_;
  FileChooser* chooser_ = &dialogs_;
  QString scenario_path_;
  QString title_;              // the form's title
  InputTexts scenario_texts_;  // as the scenario file holds them
  std::optional<CarrierChoice> carrier_;
  std::optional<CarrierChoice> scenario_carrier_;  // as the scenario file holds it
  RunOutcome last_outcome_;
  std::function<bool(const QUrl&)> open_url_;
  std::array<QLineEdit*, kFieldCount> inputs_{};       // by Index(Field)
  std::array<QLabel*, kResultLabelCount> results_{};   // by ResultLabel
  std::array<QFont, kResultLabelCount> result_fonts_;  // as the layout gives them
  std::array<QLabel*, kResultLabelCount> result_captions_{};
  std::unique_ptr<AnalysisWindow> analysis_;  // a window of its own
  std::unique_ptr<RiskWindow> risk_;          // a window of its own
  std::unique_ptr<VariantsWindow> variants_;  // likewise, once opened
  bool analysis_fitted_ = false;              // to the screen, when first shown
  bool risk_fitted_ = false;                  // likewise
  qreal scale_ = 1;
};

}  // namespace zr
