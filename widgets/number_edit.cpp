#include "widgets/number_edit.h"

namespace vesk {

TNumberEdit::TNumberEdit(QWidget* parent) : QLineEdit(parent) {}

TNumberEdit::TNumberEdit(TTypeValue kind, double minValue, double maxValue, const QString& text,
                         QWidget* parent)
    : QLineEdit(text, parent), FMaxValue(maxValue), FMinValue(minValue), FTypeValue(kind) {}

}  // namespace vesk
