#include "app/main_window.h"

namespace vesk {

TMAINForm::TMAINForm(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Vesk Monitor (18 JAN 2026) -> V3 and V2 firmware compliant"));
  resize(956, 39);
}

}  // namespace vesk
