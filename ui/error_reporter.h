#pragma once
// The window's one message box, behind an interface so that tests can record
// the messages instead of blocking on a modal dialog.

#include <QString>

class QWidget;

namespace zr {

class ErrorReporter {
 public:
  virtual ~ErrorReporter() = default;
  // Shows `message` modally over `parent` and returns once the user has
  // closed it; the answer carries no meaning.
  virtual void ShowError(QWidget* parent, const QString& message) = 0;
  // Shows a problem with a file or the desktop (not with the figures)
  // modally, with its own title.
  virtual void ShowProblem(QWidget* parent, const QString& title, const QString& message) = 0;
};

// The real box: warning icon, one OK button, and for a wrong figure the
// title the window's form gives as its errorTitle ("HIBÁS ADAT").
class MessageBoxErrorReporter final : public ErrorReporter {
 public:
  void ShowError(QWidget* parent, const QString& message) override;
  void ShowProblem(QWidget* parent, const QString& title, const QString& message) override;
};

// Without a window (the report from the command line): each message is a
// line on the standard error, after the program's name.
class TerminalErrorReporter final : public ErrorReporter {
 public:
  void ShowError(QWidget* parent, const QString& message) override;
  void ShowProblem(QWidget* parent, const QString& title, const QString& message) override;
};

}  // namespace zr
