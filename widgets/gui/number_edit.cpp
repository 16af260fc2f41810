#include "widgets/gui/number_edit.h"

#include <QFocusEvent>
#include <QTimer>

#include "widgets/gui/message_box.h"

namespace vesk {
namespace {

// True while a field whose text was refused takes the focus back. The control the focus had
// just reached is only passed through then: checking it would hand the focus back and forth
// for ever when both hold a text they refuse.
bool focusComingBack = false;

}  // namespace

TNumberEdit::TNumberEdit(QWidget* parent) : QLineEdit(parent) {}

TNumberEdit::TNumberEdit(TTypeValue kind, double minValue, double maxValue, const QString& text,
                         QWidget* parent)
    : QLineEdit(text, parent), FMaxValue(maxValue), FMinValue(minValue), FTypeValue(kind) {}

void TNumberEdit::focusOutEvent(QFocusEvent* event) {
  // Another window taking the focus (a message box too) or a popup menu opening does not
  // leave the field.
  const Qt::FocusReason reason = event->reason();
  if (focusComingBack || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) {
    QLineEdit::focusOutEvent(event);
    return;
  }
  const TNumberEditCheck check =
      CheckNumberEditText(text().toStdString(), FTypeValue, FMinValue, FMaxValue);
  if (check.accepted) {
    setText(QString::fromStdString(check.text));
  } else {
    ShowMessage(this, QString::fromStdString(check.message));
    // Back into the field once the focus change that is under way has ended.
    QTimer::singleShot(0, this, [this] {
      focusComingBack = true;
      setFocus(Qt::OtherFocusReason);
      focusComingBack = false;
    });
  }
  QLineEdit::focusOutEvent(event);
  Q_EMIT OnExit();
}

}  // namespace vesk
