#include "error_reporter.h"

#include <QMessageBox>

namespace zr {

void MessageBoxErrorReporter::ShowError(QWidget* parent, const QString& message) {
  QMessageBox::warning(parent, QString::fromUtf8(kErrorTitle), message, QMessageBox::Ok);
}

}  // namespace zr
