#include "error_reporter.h"

#include <QMessageBox>
#include <QVariant>
#include <cstdio>

namespace zr {

void MessageBoxErrorReporter::ShowError(QWidget* parent, const QString& message) {
  QString title;
  for (const QWidget* w = parent; w != nullptr && title.isEmpty(); w = w->parentWidget()) {
    title = w->property("errorTitle").toString();
  }
  QMessageBox::warning(parent, title, message, QMessageBox::Ok);
}

void MessageBoxErrorReporter::ShowProblem(QWidget* parent, const QString& title,
                                          const QString& message) {
  QMessageBox::warning(parent, title, message, QMessageBox::Ok);
}

void TerminalErrorReporter::ShowError(QWidget*, const QString& message) {
  std::fprintf(stderr, "zeltano-redurir: %s\n", message.toLocal8Bit().constData());
}

void TerminalErrorReporter::ShowProblem(QWidget*, const QString&, const QString& message) {
  ShowError(
      nullptr,
      QString(message).replace(QStringLiteral("\n\n"), QStringLiteral(" ")).replace('\n', ' '));
}

}  // namespace zr
