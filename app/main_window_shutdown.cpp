// Closing, the session end, power notifications and the periodic save.
#include <exception>

#include "app/main_window.h"
#include "common/event_log.h"
#include "history/history_store.h"
#include "link/com_obj_rs232.h"
#include "settings/settings_file.h"

namespace vesk {

void TMAINForm::SaveHistory() {
  history->SaveHistory(Datas, kHistoryFileName);
}

void TMAINForm::FormClose() {
  if (closed_) {
    return;
  }
  closed_ = true;
  TimerGetPeriodicData.stop();
  TimerSavPeriodic.stop();
  // A poll still running ends and is applied first, so its reading is saved with the rest
  // and the port never closes under it.
  try {
    polls->WaitForPoll();
  } catch (...) {
    // Its presentation failed; the history and the link still matter.
  }
  try {
    if (history) {
      SaveHistory();
    }
  } catch (...) {
    // Closing goes on: the link, the settings and the last log line still matter.
  }
  try {
    if (ComObjRs232) {
      if (Connected) {
        ComObjRs232->CloseCom();
      }
      ComObjRs232.reset();
    }
    if (FileIni) {
      SaveSettings();
    }
    FileIni.reset();
    WriteLog("Application closed\r\n");
  } catch (...) {
    // Closing is never refused.
  }
}

void TMAINForm::EndSessionQuery() {
  WriteLog("Windows is asking applications to close !");
  SaveHistory();
  WriteLog("Data saved !");
  close();
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
    case 7:
      WriteLog("Restart from hibernation");
      SaveHistory();
      RefreshPlots(DisplayRH_int, DisplayTempHot);
      WriteLog("Restart from hibernation processus is completed...");
      break;
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
