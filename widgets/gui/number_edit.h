#pragma once

#include <QLineEdit>

#include "widgets/number_edit_check.h"

namespace vesk {

// The single-line field used for every numeric setting. It carries the kind of number it
// holds and its allowed range. Leaving it for another control of the window checks the text:
// a valid one is replaced by the normalised value, an invalid one is reported and the focus
// comes back. Another window or a popup menu taking the focus does not leave the field.
class TNumberEdit : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(double MaxValue READ MaxValue WRITE setMaxValue)
  Q_PROPERTY(double MinValue READ MinValue WRITE setMinValue)

 public:
  using TTypeValue = vesk::TTypeValue;

  explicit TNumberEdit(QWidget* parent = nullptr);
  TNumberEdit(TTypeValue kind, double minValue, double maxValue, const QString& text,
              QWidget* parent = nullptr);

  double MaxValue() const { return FMaxValue; }
  void setMaxValue(double value) { FMaxValue = value; }
  double MinValue() const { return FMinValue; }
  void setMinValue(double value) { FMinValue = value; }
  TTypeValue TypeValue() const { return FTypeValue; }
  void setTypeValue(TTypeValue kind) { FTypeValue = kind; }

 Q_SIGNALS:
  // Raised after the check when the field has been left, whatever the check found.
  void OnExit();

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // Equal bounds (both 0 by default) mean "no range".
  double FMaxValue = 0;
  double FMinValue = 0;
  TTypeValue FTypeValue = TTypeValue::Int;
};

}  // namespace vesk
