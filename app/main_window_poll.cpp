// The poll loop: starting polls and presenting their results.
#include <QLabel>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <exception>

#include "acquisition/gui/readings_panel.h"
#include "acquisition/readings_text.h"
#include "acquisition/thread_request.h"
#include "app/main_window.h"
#include "common/event_log.h"
#include "common/number_text.h"
#include "device/gui/actions_group.h"
#include "device/gui/cooling_page.h"
#include "device/gui/heating_group.h"
#include "device/gui/setup_page.h"
#include "lens/gui/lens_advanced_page.h"
#include "lens/gui/lens_basic_page.h"
#include "plots/gui/plot_options_group.h"
#include "plots/gui/wind_speed_page.h"
#include "station/station.h"
#include "station/station_session.h"

namespace vesk {

void TMAINForm::PollDevice(bool wait) {
  session_->Poll(wait, TabSheetWind->CorrectWindSpeed(), TabSheetWind->FactorText());
}

void TMAINForm::TimerGetPeriodicDataTimer() {
  PollDevice(false);
}

void TMAINForm::CheckBoxFastSpeedClick() {
  station().ResetPollCounters();
  ApplyPollPeriod();
}

void TMAINForm::ApplyPollPeriod() {
  TimerGetPeriodicData->setInterval(TabSheetConfig->actionsGroup()->FastSpeed() ? 1000 : 10000);
  session_->SetPollPeriod(std::chrono::milliseconds(TimerGetPeriodicData->interval()));
}

void TMAINForm::PlaySoundFile(const std::string& name) {
  // Asynchronous; a missing or unplayable file stays silent.
  if (!failureSound_) {
    failureSound_ = new QSoundEffect(this);
  }
  failureSound_->setSource(QUrl::fromLocalFile(QString::fromStdString((ChemExec / name).string())));
  failureSound_->play();
}

void TMAINForm::ShowPollCounters() {
  StatusPanels[3]->setText(QString::fromStdString(
      FormatText("%u / failed=%u", station().NbPools(), station().NbPoolsFailed())));
}

void TMAINForm::PollApplied(const ThreadRequest& sender) {
  try {
    if (sender.ErrorMes.empty()) {
      ApplySuccess(sender.FDataOUT);
    } else {
      if (TabSheetConfig->actionsGroup()->FailureSound()) {
        PlaySoundFile("narf.wav");
      }
      ResetReadings();
      WriteLog("RS232 Link Error -> " + sender.ErrorMes);
      ShowPollCounters();
    }
  } catch (const std::exception& e) {
    ResetReadings();
    WriteLog(std::string("Exception, Error -> ") + e.what());
  }
}

void TMAINForm::ApplySuccess(const TDataOUT& out) {
  const HeatingState& heating = station().Heating();
  const IdentityState& identity = station().Identity();
  GroupBoxDisplays->ShowHeating(heating.gHeaterON, heating.gAutoTempRH_Heat,
                                heating.gPowerHeaterLevel);
  TabSheetConfig->heatingGroup()->ShowPowerLevel(heating.gPowerHeaterLevel);
  TabSheetConfig->actionsGroup()->SyncHeatingControls(heating.gAutoTempRH_Heat, heating.gHeaterON);

  const ReadingsTexts texts = FormatReadings(out.infosRec);
  GroupBoxDisplays->ShowReadings(texts);
  if (identity.DisplayTempHot) {
    TabSheetCCDCool->ShowReadings(texts, out);
  }
  secondaryReadings->ShowReadings(texts, identity.DisplayTempHot, identity.DisplayRH_int,
                                  ShowsPressureAndWind(identity.TypeCam));
  if (identity.DisplayRH_int) {
    TabSheetCCDCool->ShowInsideHumidity(texts);
  }
  if (identity.DriveEFlens_intf) {
    const LensPoll& lens = station().LastLensPoll();
    if (lens.texts.basic) {
      TabSheetIrisFocus->ShowLens(*lens.texts.basic);
    } else {
      TabSheetIrisFocusAdv->ShowLens(lens);
    }
  }

  RefreshPlots(identity.DisplayRH_int, identity.DisplayTempHot);
  if (GroupBoxPlotOptions->LockTranslate()) {
    SetTimeWindow();
  }
  ShowPollCounters();
}

void TMAINForm::ResetReadings() {
  const ReadingsTexts texts = PlaceholderReadings();
  GroupBoxDisplays->ResetReadings(texts);
  TabSheetCCDCool->ResetReadings(texts);
  secondaryReadings->ResetReadings(texts);
}

}  // namespace vesk
