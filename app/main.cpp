#include <clocale>

#include "app/main_window.h"
#include "app/vesk_application.h"
#include "common/event_log.h"
#include "common/program_folder.h"

int main(int argc, char** argv) {
  vesk::InitLog(vesk::ProgramFolder());
  vesk::VeskApplication app(argc, argv);
  // Qt applies the system locale on Unix; numbers keep the point for the whole run.
  std::setlocale(LC_NUMERIC, "C");
  vesk::TMAINForm window;
  window.show();
  return app.exec();
}
