#pragma once
// The program's one window, Zeltano: its controls come from the form; its
// handlers read the input boxes, run the calculation and show the outcome.

#include <QWidget>
#include <array>
#include <memory>

#include "calculation_run.h"
#include "number_format.h"
#include "svg_picture.h"

class QLabel;
class QLineEdit;

namespace Ui {
class Zeltano;
}

namespace zr {

class AnalysisWindow;
class ErrorReporter;

class MainWindow : public QWidget {
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

 public slots:
  // Opens the "Elemzés" window (F2) and brings it to the front.
  void ShowAnalysis();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void SetUpControls();
  void Form_Load();
  void ShowError(const std::string& message);

  std::unique_ptr<Ui::Zeltano> ui_;
  ErrorReporter& reporter_;
  NumberFormat format_;
  SvgPicture background_;
  std::array<QLineEdit*, kFieldCount> inputs_{};      // by Index(Field)
  std::array<QLabel*, kResultLabelCount> results_{};  // by ResultLabel
  std::unique_ptr<AnalysisWindow> analysis_;          // a window of its own
};

}  // namespace zr
