#pragma once
// Asking the user for a file name, or whether to save before closing,
// behind an interface so that tests can answer instead of a modal dialog.

#include <QString>

class QWidget;

namespace zr {

enum class UnsavedAnswer { kSave, kDiscard, kCancel };

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // A file to read; empty when the user cancelled.
  virtual QString ChooseOpen(QWidget* parent, const QString& title, const QString& filter) = 0;
  // A file to write, `suggested` first; empty when the user cancelled. The
  // caller adds the suffix when the name has none.
  virtual QString ChooseSave(QWidget* parent, const QString& title, const QString& suggested,
                             const QString& filter) = 0;
  // Whether to save the changes to the scenario `file` before the window
  // closes.
  virtual UnsavedAnswer AskUnsaved(QWidget* parent, const QString& file) = 0;
};

// The desktop's own file dialogs.
class DialogFileChooser final : public FileChooser {
 public:
  QString ChooseOpen(QWidget* parent, const QString& title, const QString& filter) override;
  QString ChooseSave(QWidget* parent, const QString& title, const QString& suggested,
                     const QString& filter) override;
  // A question box with the buttons "Mentés", "Elvetés" and "Mégse".
  UnsavedAnswer AskUnsaved(QWidget* parent, const QString& file) override;
};

}  // namespace zr
