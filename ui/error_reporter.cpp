#include "error_reporter.h"

#include <QMessageBox>

namespace zr {

void MessageBoxErrorReporter::ShowError(QWidget* parent, const QString& message) {
  QMessageBox::warning(parent, QString::fromUtf8(kErrorTitle), message, QMessageBox::Ok);
}

void MessageBoxErrorReporter::ShowProblem(QWidget* parent, const QString& title,
                                          const QString& message) {
  QMessageBox::warning(parent, title, message, QMessageBox::Ok);
}

}  // namespace zr
