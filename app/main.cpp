#include <clocale>
#include <cstring>
#include <exception>
#include <iostream>

#include "app/main_window.h"
#include "app/program_folder_lock.h"
#include "app/single_instance.h"
#include "app/vesk_application.h"
#include "common/event_log.h"
#include "common/program_folder.h"
#include "version/version.h"
#include "widgets/gui/message_box.h"

int main(int argc, char** argv) {
  // Answered before any window or display is needed.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::cout << "vesk-monitor " << vesk::kVersionLine << "\n";
    return 0;
  }
  // Installed by the package, the program's folder is the system's: the data go to the
  // user's own folder.
  const std::filesystem::path dataFolder =
      vesk::DataFolder(vesk::ProgramFolder(), {VESK_INSTALLED_BINDIR, VESK_PACKAGED_BINDIR});
  vesk::InitLog(dataFolder);
  if (dataFolder != vesk::ProgramFolder()) {
    vesk::WriteLog("Data folder -> " + dataFolder.string());
  }
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
  const auto folderLock = vesk::ClaimProgramFolder(dataFolder);
  if (!folderLock) {
    return 1;
  }

  vesk::TMAINForm mainWindow(dataFolder);
  window = &mainWindow;
  mainWindow.show();
  return app.exec();
}
