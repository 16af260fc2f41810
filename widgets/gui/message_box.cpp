#include "widgets/gui/message_box.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace vesk {
namespace {

DialogAnswers& Answers() {
  static DialogAnswers answers;
  return answers;
}

QString Title() {
  return QApplication::applicationDisplayName();
}

}  // namespace

void SetDialogAnswers(DialogAnswers answers) {
  Answers() = std::move(answers);
}

void ShowMessage(QWidget* parent, const QString& text) {
  if (Answers().message) {
    Answers().message(MessageKind::Information, text);
    return;
  }
  QMessageBox::information(parent, Title(), text);
}

void ShowError(QWidget* parent, const QString& text) {
  if (Answers().message) {
    Answers().message(MessageKind::Error, text);
    return;
  }
  QMessageBox::critical(parent, Title(), text);
}

bool Confirm(QWidget* parent, const QString& text) {
  if (Answers().message) {
    return Answers().message(MessageKind::Confirmation, text);
  }
  return QMessageBox::question(parent, Title(), text, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

bool ConfirmError(QWidget* parent, const QString& text) {
  if (Answers().message) {
    return Answers().message(MessageKind::Confirmation, text);
  }
  return QMessageBox::critical(parent, Title(), text, QMessageBox::Ok | QMessageBox::Cancel) ==
         QMessageBox::Ok;
}

std::optional<QString> OpenDialog(QWidget* parent, const QString& filter) {
  if (Answers().openFile) {
    return Answers().openFile(filter);
  }
  const QString name = QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
  return name.isEmpty() ? std::nullopt : std::optional<QString>(name);
}

std::optional<QString> SaveDialog(QWidget* parent) {
  if (Answers().saveFile) {
    return Answers().saveFile();
  }
  const QString name = QFileDialog::getSaveFileName(parent);
  return name.isEmpty() ? std::nullopt : std::optional<QString>(name);
}

}  // namespace vesk
