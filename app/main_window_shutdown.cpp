// Closing, the session end, power notifications and the periodic save.
#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <exception>
#include <memory>

#include "app/main_window.h"
#include "app/program_end.h"
#include "common/event_log.h"
#include "history/gui/progress_window.h"
#include "settings/settings_file.h"
#include "station/station.h"

namespace vesk {

void TMAINForm::SaveHistory() {
  // A progress window only when the history must be loaded first (the start stopped early).
  std::unique_ptr<TFormProgress> progress;
  station_->SaveHistory([this, &progress](const std::string& text) {
    if (!progress) {
      progress = std::make_unique<TFormProgress>(this);
    }
    progress->ShowProgress(QString::fromStdString(text));
  });
}

void TMAINForm::FormClose() {
  if (closed_) {
    return;
  }
  closed_ = true;
  TimerGetPeriodicData->stop();
  TimerSavPeriodic->stop();
  TimerFTP->stop();
  TimerReconnect->stop();
  // A poll still running ends and is applied first, so its reading is saved with the rest
  // and the port never closes under it.
  try {
    station_->WaitForPoll();
  } catch (...) {
    // Its presentation failed; the history and the link still matter.
  }
  // Before the station: the observatory hears "offline" and no server outlives the window.
  StopIntegrations();
  try {
    SaveHistory();
  } catch (...) {
    // Closing goes on: the link, the settings and the last log line still matter.
  }
  try {
    station_->Disconnect();
  } catch (...) {
  }
  try {
    if (FileIni) {
      SaveSettings();
    }
  } catch (...) {
    // The last log line still matters.
  }
  FileIni.reset();
  CloseFtpLoader();
  try {
    WriteLog("Application closed\r\n");
  } catch (...) {
    // Closing is never refused.
  }
}

void TMAINForm::EndAfterBootloader() {
  // The program ends at once, without its closing sequence; the history and the settings are
  // saved first so the readings since the last periodic save are not lost.
  TimerGetPeriodicData->stop();
  TimerSavPeriodic->stop();
  try {
    SaveHistory();
  } catch (...) {
    // The settings still matter.
  }
  try {
    if (FileIni) {
      SaveSettings();
    }
  } catch (...) {
    // The board has left; the program ends whatever could be saved.
  }
  EndProgram(0);
}

void TMAINForm::EndSessionQuery() {
  WriteLog("Windows is asking applications to close !");
  SaveHistory();
  WriteLog("Data saved !");
  close();
  // A message box waits in an event loop of its own, which the close above does not end;
  // the session is ending and everything is saved, so the program ends here.
  if (QApplication::activeModalWidget() != nullptr) {
    FormClose();  // done already when the window was shown; it runs once
    std::_Exit(0);
  }
}

void TMAINForm::WMPowerBroadcast(int code) {
  WriteLog("WMPowerBroadcast, Message Wparam-> " + std::to_string(code));
  switch (code) {
    case 0:
      WriteLog("PBT_APMQUERYSUSPEND");
      break;
    case 4:
      WriteLog("PBT_APMSUSPEND");
      SaveHistory();
      WriteLog("Hibernation request -> save DATA !");
      WriteLog("");
      break;
    case 7: {
      WriteLog("Restart from hibernation");
      SaveHistory();
      const IdentityState& identity = station_->Identity();
      RefreshPlots(identity.DisplayRH_int, identity.DisplayTempHot);
      WriteLog("Restart from hibernation processus is completed...");
      break;
    }
    case 10:
      WriteLog("PBT_APMPOWERSTATUSCHANGE");
      break;
    case 18:
      WriteLog("PBT_APMRESUMEAUTOMATIC");
      break;
    case 32787:
      WriteLog("PBT_POWERSETTINGCHANGE");
      break;
    default:
      break;
  }
}

void TMAINForm::TimerSavPeriodicTimer() {
  try {
    SaveHistory();
    SaveSettings();
    WriteLog("Data period recording OK -- each mins ");
  } catch (const std::exception& e) {
    WriteLog(std::string("Error during periodic data recording : \"") + e.what() + "\"");
  }
}

}  // namespace vesk
