#include "app/vesk_application.h"

#include "widgets/gui/message_box.h"

#include <exception>

namespace vesk {

VeskApplication::VeskApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool VeskApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowError(activeWindow(), QString::fromStdString(e.what()));
  } catch (...) {
    ShowError(activeWindow(), QStringLiteral("Unknown error"));
  }
  return false;
}

}  // namespace vesk
