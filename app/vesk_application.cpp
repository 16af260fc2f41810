#include "app/vesk_application.h"

#include <QMessageBox>

#include <exception>

namespace vesk {

VeskApplication::VeskApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool VeskApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    QMessageBox::critical(activeWindow(), applicationName(), QString::fromLocal8Bit(e.what()));
  } catch (...) {
    QMessageBox::critical(activeWindow(), applicationName(), QStringLiteral("Unknown error"));
  }
  return false;
}

}  // namespace vesk
