#pragma once
// The "Változatok" window: two to four scenarios side by side, from the main
// window's current scenario and from scenario files (opened in it, or
// dropped on it). It draws the core's comparison table and chart; saving
// writes each variant as a scenario file.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "calculation_run.h"
#include "file_chooser.h"
#include "input_captions.h"
#include "number_format.h"
#include "report_variants.h"
#include "variants.h"

namespace Ui {
class VariantsWindow;
}

namespace zr {

class ErrorReporter;

// The captions of the eleven value labels, by ResultLabel, as the main
// window's form shows them.
using ResultCaptions = std::array<QString, kResultLabelCount>;

class VariantsWindow : public QWidget {
  Q_OBJECT

 public:
  // `current` gives the main window's scenario: its name and box texts.
  VariantsWindow(InputCaptions inputs, ResultCaptions results, NumberFormat format,
                 ErrorReporter& reporter, std::function<Variant()> current,
                 QWidget* parent = nullptr);
  ~VariantsWindow() override;

  // Adds a variant when there is room (at most four); false when full.
  bool AddVariant(Variant variant);
  // Reads a scenario file as a variant named after the file; false, after
  // telling the user why, when it cannot be read or there is no room.
  bool AddFile(const QString& path);
  void RemoveVariant(std::size_t index);
  // Tests answer the file dialogs through this.
  void SetFileChooser(FileChooser& chooser) { chooser_ = &chooser; }

  const std::vector<Variant>& Variants() const { return variants_; }
  // The comparison on show: present with two variants or more.
  const std::optional<VariantsTable>& Table() const { return table_; }

  // The report's comparison page: the table with its row captions; absent
  // with fewer than two variants.
  std::optional<VariantsReport> ReportPart() const;

  // Writes every variant as a scenario file, the first to `first_path`, the
  // others beside it under their names; false after telling why when one
  // could not be written. The paths written are listed in the status line.
  bool SaveVariants(const QString& first_path);

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void Refresh();
  QString RowCaption(const VariantRow& row, std::size_t index) const;
  void AddCurrent_Click();
  void Open_Click();
  void Remove_Click();
  void Save_Click();

  std::unique_ptr<Ui::VariantsWindow> ui_;
  InputCaptions input_captions_;
  ResultCaptions result_captions_;
  NumberFormat format_;
  ErrorReporter& reporter_;
  DialogFileChooser dialogs_;
  FileChooser* chooser_ = &dialogs_;
  std::function<Variant()> current_;
  std::vector<Variant> variants_;
  std::optional<VariantsTable> table_;
  QStringList saved_;  // the files the last save wrote
};

}  // namespace zr
