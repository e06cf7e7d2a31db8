// The main window's "Változatok" command: the window is made at its first
// opening, with the main window's captions, and takes the current scenario
// (the boxes' texts, named after its file) whenever it asks.
#include <QFileInfo>
#include <QLabel>
#include <QScreen>

#include "analysis_view.h"
#include "chart_box.h"
#include "input_captions.h"
#include "main_window.h"
#include "scenario_file.h"
#include "ui_main_window.h"
#include "variants_window.h"

namespace zr {

void MainWindow::ShowVariants() {
  if (!variants_) {
    ResultCaptions results;
    for (std::size_t i = 0; i < kResultLabelCount; ++i) {
      const CaptionParts parts = SplitCaption(result_captions_[i]->text().toStdString());
      results[i] = QString::fromStdString(parts.text);
      if (!parts.unit.empty())
        results[i] += QStringLiteral(" [%1]").arg(QString::fromStdString(parts.unit));
    }
    variants_ = std::make_unique<VariantsWindow>(
        ReadInputCaptions(*this), results, format_, reporter_, [this] {
          QString name =
              QString::fromUtf8(TextOf(VariantsText::kCurrent).data(),
                                static_cast<qsizetype>(TextOf(VariantsText::kCurrent).size()));
          if (!scenario_path_.isEmpty()) {
            name = QFileInfo(scenario_path_).fileName();
            if (name.endsWith(QString::fromUtf8(kScenarioSuffix))) {
              name.chop(static_cast<qsizetype>(std::string_view(kScenarioSuffix).size()));
            }
          }
          return Variant{name.toStdString(), BoxTexts()};
        });
    variants_->SetFileChooser(*chooser_);
    // The chart's words in the main chart's face and size.
    variants_->findChild<ChartBox*>("Grafikon")->setFont(ui_->graf->ChartFont());
    FitLaidOutWindow(*variants_, window()->screen()->availableGeometry());
  }
  variants_->show();
  variants_->raise();
  variants_->activateWindow();
}

}  // namespace zr
