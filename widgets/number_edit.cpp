#include "widgets/number_edit.h"

#include <QFocusEvent>
#include <QTimer>

#include "widgets/message_box.h"

namespace vesk {

TNumberEdit::TNumberEdit(QWidget* parent) : QLineEdit(parent) {}

TNumberEdit::TNumberEdit(TTypeValue kind, double minValue, double maxValue, const QString& text,
                         QWidget* parent)
    : QLineEdit(text, parent), FMaxValue(maxValue), FMinValue(minValue), FTypeValue(kind) {}

void TNumberEdit::focusOutEvent(QFocusEvent* event) {
  const TNumberEditCheck check =
      CheckNumberEditText(text().toStdString(), FTypeValue, FMinValue, FMaxValue);
  if (check.accepted) {
    setText(QString::fromStdString(check.text));
  } else {
    ShowMessage(this, QString::fromStdString(check.message));
    // Back into the field once the focus change that is under way has ended.
    QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
  }
  QLineEdit::focusOutEvent(event);
  Q_EMIT OnExit();
}

}  // namespace vesk
