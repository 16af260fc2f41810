#include <clocale>
#include <exception>

#include "app/main_window.h"
#include "app/program_folder_lock.h"
#include "app/single_instance.h"
#include "app/vesk_application.h"
#include "common/event_log.h"
#include "common/program_folder.h"
#include "widgets/gui/message_box.h"

int main(int argc, char** argv) {
  vesk::InitLog(vesk::ProgramFolder());
  vesk::VeskApplication app(argc, argv);
  app.setApplicationDisplayName(QStringLiteral("Vesk Monitor"));
  // Qt applies the system locale on Unix; numbers keep the point for the whole run.
  std::setlocale(LC_NUMERIC, "C");

  vesk::TMAINForm* window = nullptr;
  vesk::SingleInstance guard(
      QStringLiteral("VSK_713AZER_"),
      [] {
        return vesk::Confirm(nullptr,
                             QStringLiteral("Le logiciel fonctionne deja, le lancer quand meme ?"));
      },
      [&window] {
        if (window != nullptr) {
          window->RestoreFromTray();
        }
      });
  try {
    if (!guard.CheckSingleInstance()) {
      return 0;
    }
  } catch (const std::exception& e) {
    vesk::ShowError(nullptr, QString::fromStdString(e.what()));
    return 1;
  }

  // Held until the window has closed and saved the history.
  const auto folderLock = vesk::ClaimProgramFolder(vesk::ProgramFolder());
  if (!folderLock) {
    return 1;
  }

  vesk::TMAINForm mainWindow(vesk::ProgramFolder());
  window = &mainWindow;
  mainWindow.show();
  return app.exec();
}
