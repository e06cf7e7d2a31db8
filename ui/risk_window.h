#pragma once
// The "Kockázat" window: how sure the payback of the last calculated
// scenario is. A second, non-modal window with a table of ranges (low, most
// likely, high), the number of runs and the seed; the runs go on a worker
// thread with a progress bar and "Mégse", and the window shows the share
// that pays back, the percentiles and the histogram.

#include <QFutureWatcher>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "input_captions.h"
#include "input_set.h"
#include "number_format.h"
#include "risk.h"
#include "risk_report.h"
#include "risk_view.h"

namespace Ui {
class RiskWindow;
}

namespace zr {

struct RunOutcome;

class RiskWindow : public QWidget {
  Q_OBJECT

 public:
  // A window of its own; it does not keep the program running once the
  // main window has closed.
  RiskWindow(InputCaptions captions, NumberFormat format, QWidget* parent = nullptr);
  // Stops the runs under way and waits for them: at most 256 runs.
  ~RiskWindow() override;

  // Follows a run of the main window: its texts become the scenario; a
  // result on show, or runs under way, belonged to the former one and go.
  void FollowRun(const RunOutcome& outcome);

  // "Futtatás": reads the table, the runs and the seed and starts; a wrong
  // text is named in the status line instead.
  void Run();
  // "Mégse": stops the runs under way; nothing is shown of them.
  void Cancel();

  bool Busy() const { return running_ != nullptr; }
  // The rows as the table holds them.
  const std::vector<RangeTexts>& Rows() const { return rows_; }
  // What the report shows of the result on show, if any.
  std::optional<RiskReport> Report() const;

 signals:
  // Runs ended: a result is on show, or they were stopped or failed.
  void RunEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct Shared {
    std::atomic<bool> cancel{false};
    std::atomic<std::int64_t> done{0};
  };
  struct Outcome {
    RiskResult result;
    bool failed = false;
  };

  void BuildControls();
  void FillTable();
  void FillAddable();
  void OnCellChanged(int row, int column);
  void AddRow();
  void RemoveRow();
  void ResetRows();
  void SetRunning(bool running);
  void ShowProgress();
  void OnFinished();
  void ClearResult(const QString& status);
  void ShowResult(const RiskResult& result);
  void ShowProblem(const QString& message);

  std::unique_ptr<Ui::RiskWindow> ui_;
  InputCaptions captions_;
  NumberFormat format_;
  InputTexts scenario_;
  std::vector<RangeTexts> rows_;
  bool filling_ = false;  // the table is being filled, not edited

  std::shared_ptr<Shared> running_;  // the runs under way, null when none
  std::int64_t running_runs_ = 0;
  std::vector<RiskRange> running_ranges_;
  QFutureWatcher<Outcome> watcher_;
  QTimer progress_timer_;

  // The result on show, with the ranges it was run with.
  std::optional<RiskResult> shown_;
  std::vector<RangeTexts> shown_rows_;
};

}  // namespace zr
