#pragma once

#include <QLineEdit>

namespace vesk {

// The single-line field used for every numeric setting. It carries the kind of number it
// holds and its allowed range; the check made when the field loses the focus is attached by
// the main window.
class TNumberEdit : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(double MaxValue READ MaxValue WRITE setMaxValue)
  Q_PROPERTY(double MinValue READ MinValue WRITE setMinValue)
  Q_PROPERTY(TTypeValue TypeValue READ TypeValue WRITE setTypeValue)

 public:
  enum class TTypeValue { Int, Float };
  Q_ENUM(TTypeValue)

  explicit TNumberEdit(QWidget* parent = nullptr);
  TNumberEdit(TTypeValue kind, double minValue, double maxValue, const QString& text,
              QWidget* parent = nullptr);

  double MaxValue() const { return FMaxValue; }
  void setMaxValue(double value) { FMaxValue = value; }
  double MinValue() const { return FMinValue; }
  void setMinValue(double value) { FMinValue = value; }
  TTypeValue TypeValue() const { return FTypeValue; }
  void setTypeValue(TTypeValue kind) { FTypeValue = kind; }

 private:
  // Equal bounds (both 0 by default) mean "no range".
  double FMaxValue = 0;
  double FMinValue = 0;
  TTypeValue FTypeValue = TTypeValue::Int;
};

}  // namespace vesk
