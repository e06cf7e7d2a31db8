#include "file_chooser.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace zr {

QString DialogFileChooser::ChooseOpen(QWidget* parent, const QString& title,
                                      const QString& filter) {
  return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString DialogFileChooser::ChooseSave(QWidget* parent, const QString& title,
                                      const QString& suggested, const QString& filter) {
  return QFileDialog::getSaveFileName(parent, title, suggested, filter);
}

UnsavedAnswer DialogFileChooser::AskUnsaved(QWidget* parent, const QString& file) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Zeltano-Redurir"),
                  QStringLiteral("A forgatókönyv megváltozott a legutóbbi mentés óta:\n%1\n\n"
                                 "Menti a változásokat?")
                      .arg(file),
                  QMessageBox::NoButton, parent);
  QPushButton* save = box.addButton(QStringLiteral("&Mentés"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QStringLiteral("&Elvetés"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("Mégse"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == save) return UnsavedAnswer::kSave;
  if (box.clickedButton() == discard) return UnsavedAnswer::kDiscard;
  return UnsavedAnswer::kCancel;
}

}  // namespace zr
