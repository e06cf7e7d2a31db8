#pragma once
// The "Elemzés" window: what would make the last calculated scenario pay
// off. A second, non-modal window that follows every run of the main
// window; the analysis runs on a worker thread.

#include <QFutureWatcher>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>

#include "analysis.h"
#include "calculation_run.h"
#include "energy_price.h"
#include "input_captions.h"
#include "input_set.h"
#include "number_format.h"
#include "sensitivity.h"

namespace Ui {
class AnalysisWindow;
}
class QLabel;
class QTableWidget;
class QTabWidget;

namespace zr {

class TornadoChart;

// What the worker hands back for one set of inputs.
struct AnalysisResult {
  std::uint64_t run = 0;  // which SetInputs call it belongs to
  InputSet inputs;
  Analysis analysis;
  bool failed = false;  // the analysis threw; nothing else is set
};

class AnalysisWindow : public QWidget {
  Q_OBJECT

 public:
  // A window of its own; it does not keep the program running once the
  // main window has closed.
  AnalysisWindow(InputCaptions captions, NumberFormat format, QWidget* parent = nullptr);
  ~AnalysisWindow() override;

  // Follows a run of the main window: its inputs, or, when the run ended on
  // a fault before it had read all sixteen, no analysis at all.
  void FollowRun(const RunOutcome& outcome);

  // The inputs of the latest run. The figures on show are cleared at once;
  // the new ones are computed now if the window is open, else when it opens.
  void SetInputs(const InputSet& inputs);

  // True while an analysis is under way or waiting to start.
  bool Busy() const;

  // The energy carrier the solar heat replaces, for the avoided CO₂ of the
  // latest run; nullopt while it is not known.
  void SetCarrier(const std::optional<CarrierChoice>& carrier);
  // The avoided CO₂ as the window shows it: the figures and what they
  // assume, or why there are none (without a carrier, how to get them).
  QString Co2Text() const;

 signals:
  // A finished analysis has been put on show (never one that a newer
  // SetInputs has overtaken).
  void ResultShown();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // A new font (the window scaled to the screen) gives the rows new heights.
  void changeEvent(QEvent* event) override;

 private:
  void BuildControls();
  void StartIfNeeded();
  void OnFinished();
  void ShowPending();
  void ShowResult(const AnalysisResult& result);
  void ShowCo2();

  std::unique_ptr<Ui::AnalysisWindow> ui_;
  InputCaptions captions_;
  NumberFormat format_;

  std::optional<InputSet> latest_;
  std::optional<CarrierChoice> carrier_;
  std::uint64_t latest_run_ = 0;   // counts SetInputs calls
  std::uint64_t running_run_ = 0;  // the run the worker computes, 0 when idle
  std::uint64_t shown_run_ = 0;    // the run whose figures are on show
  QFutureWatcher<AnalysisResult> watcher_;

  QLabel* verdict_ = nullptr;  // the run's verdict, above the analysis
  QLabel* status_ = nullptr;
  QLabel* npv_ = nullptr;
  QLabel* internal_rate_ = nullptr;
  QLabel* simple_payback_ = nullptr;
  QLabel* co2_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QTableWidget* table_ = nullptr;
  TornadoChart* tornado_ = nullptr;
};

}  // namespace zr
