#include "file_chooser.h"

#include <QFileDialog>

namespace zr {

QString DialogFileChooser::ChooseOpen(QWidget* parent, const QString& title,
                                      const QString& filter) {
  return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString DialogFileChooser::ChooseSave(QWidget* parent, const QString& title,
                                      const QString& suggested, const QString& filter) {
  return QFileDialog::getSaveFileName(parent, title, suggested, filter);
}

}  // namespace zr
