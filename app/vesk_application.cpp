#include "app/vesk_application.h"

#include <exception>
#include <string>

#include "common/event_log.h"

namespace vesk {

VeskApplication::VeskApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool VeskApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    // Only a handler that escaped its guard comes here: logged, and the program carries on.
    WriteLog(std::string("Exception, Error -> ") + e.what());
  } catch (...) {
    WriteLog("Exception, Error -> Unknown error");
  }
  return false;
}

}  // namespace vesk
