#include "app/asker.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace qz {
namespace {

QMessageBox::Icon boxIcon(AskIcon icon) {
  switch (icon) {
    case AskIcon::Question: return QMessageBox::Question;
    case AskIcon::Warning: return QMessageBox::Warning;
    case AskIcon::Information: break;
  }
  return QMessageBox::Information;
}

}  // namespace

void DialogAsker::inform(QWidget* parent, const QString& text, const QString& caption,
                         AskIcon icon) {
  QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, parent);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
  box.exec();
}

bool DialogAsker::askYesNo(QWidget* parent, const QString& text, const QString& caption,
                           AskIcon icon) {
  QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Yes | QMessageBox::No, parent);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
  box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

QString DialogAsker::chooseFolder(QWidget* parent, const QString& title,
                                  const QString& startFolder) {
  // Qt's own dialog: it has the edit field for typing a path on every desktop.
  return QFileDialog::getExistingDirectory(
      parent, title, startFolder, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

QString DialogAsker::chooseFile(QWidget* parent, const QString& title, const QString& startFolder,
                                const QString& filter) {
  return QFileDialog::getOpenFileName(parent, title, startFolder, filter);
}

}  // namespace qz
