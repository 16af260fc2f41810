#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace vesk {

// Every message box and file dialog of the window goes through here, so the window tests can
// answer them instead of an operator.
enum class MessageKind { Information, Error, Confirmation };

struct DialogAnswers {
  // Shows a message; for Confirmation, answers yes (true) or no.
  std::function<bool(MessageKind kind, const QString& text)> message;
  // File dialogs: the chosen name, or nothing when cancelled.
  std::function<std::optional<QString>(const QString& filter)> openFile;
  std::function<std::optional<QString>()> saveFile;
};

// Replaces the operator (tests); an empty set restores the real dialogs.
void SetDialogAnswers(DialogAnswers answers);

void ShowMessage(QWidget* parent, const QString& text);
void ShowError(QWidget* parent, const QString& text);
bool Confirm(QWidget* parent, const QString& text);
// A question in an error box with OK and Cancel, for orders that cannot be undone; true for OK.
bool ConfirmError(QWidget* parent, const QString& text);
std::optional<QString> OpenDialog(QWidget* parent, const QString& filter);
std::optional<QString> SaveDialog(QWidget* parent);

}  // namespace vesk
