// Closing, the session end, power notifications and the periodic save.
#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <memory>

#include "app/main_window.h"
#include "app/posting_controller.h"
#include "app/program_end.h"
#include "history/gui/progress_window.h"
#include "settings/settings_file.h"
#include "station/station.h"
#include "station/station_session.h"

namespace vesk {

void TMAINForm::SaveHistory() {
  // A progress window only when the history must be loaded first (the start stopped early).
  std::unique_ptr<TFormProgress> progress;
  session_->SaveHistory([this, &progress](const std::string& text) {
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
  posting_->Stop();
  TimerReconnect->stop();
  // The poll in progress, the integrations, the history (a failed save logged) and the link.
  session_->Shutdown();
  try {
    if (FileIni) {
      SaveSettings();
    }
  } catch (...) {
    // The last log line still matters.
  }
  FileIni.reset();
  posting_->CloseFtpLoader();
  StationSession::LogClosed();
}

void TMAINForm::EndAfterBootloader() {
  // The program ends at once, without its closing sequence; the history and the settings are
  // saved first so the readings since the last periodic save are not lost.
  TimerGetPeriodicData->stop();
  TimerSavPeriodic->stop();
  session_->SaveLogged();  // a failure is logged; the settings still matter
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
  // Saved and logged; a failed save (a full disk) must not keep the session from ending: an
  // error box would wait for an operator who is gone, and the program would never end.
  session_->SaveAtSessionEnd();
  close();
  // A message box waits in an event loop of its own, which the close above does not end;
  // the session is ending and everything is saved, so the program ends here.
  if (QApplication::activeModalWidget() != nullptr) {
    FormClose();  // done already when the window was shown; it runs once
    std::_Exit(0);
  }
}

void TMAINForm::WMPowerBroadcast(int code) {
  if (session_->PowerNotified(code)) {
    const IdentityState& identity = station().Identity();
    RefreshPlots(identity.DisplayRH_int, identity.DisplayTempHot);
    session_->ResumedFromHibernation();
  }
}

void TMAINForm::TimerSavPeriodicTimer() {
  session_->PeriodicSave([this] { SaveSettings(); });
}

}  // namespace vesk
