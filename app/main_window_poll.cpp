// The poll loop: starting polls and presenting their results.
#include <QCheckBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSoundEffect>

#include <exception>

#include "acquisition/gui/readings_panel.h"
#include "acquisition/readings_text.h"
#include "app/main_window.h"
#include "common/event_log.h"
#include "common/number_text.h"
#include "device/gui/actions_group.h"
#include "device/gui/cooling_page.h"
#include "device/gui/heating_group.h"
#include "device/gui/setup_page.h"
#include "link/com_obj_rs232.h"
#include "plots/gui/plot_options_group.h"
#include "plots/gui/wind_speed_page.h"
#include "widgets/gui/number_edit.h"

namespace vesk {
namespace {

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

void SetText(QLabel* label, const std::string& text) {
  label->setText(Text(text));
}

}  // namespace

TDataTinParams TMAINForm::PollInputs() {
  return {ComObjRs232.get(), TypeCam, DisplayRH_int, DisplayTempHot, DriveEFlens_intf};
}

void TMAINForm::PollDevice(bool wait) {
  polls->PollDevice(wait, PollInputs(), TabSheetWind->CheckBoxGainWindCorrection->isChecked(),
                    TabSheetWind->NumberEditGainWindTemp->text().toStdString());
}

void TMAINForm::CheckBoxFastSpeedClick() {
  polls->ResetCounters();
  TimerGetPeriodicData.setInterval(TabSheetConfig->actions->CheckBoxFastSpeed->isChecked() ? 1000
                                                                                           : 10000);
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
  StatusPanels[3]->setText(
      Text(FormatText("%u / failed=%u", polls->NbPools, polls->NbPoolsFailed)));
}

void TMAINForm::ApplyPollResult(ThreadRequest& sender) {
  try {
    if (sender.ErrorMes.empty()) {
      ApplySuccess(sender.FDataOUT);
    } else {
      ++polls->NbPoolsFailed;
      if (TabSheetConfig->actions->CheckBoxFailureSound->isChecked()) {
        PlaySoundFile("narf.wav");
      }
      ResetReadings();
      WriteLog("RS232 Link Error -> " + sender.ErrorMes);
      ShowPollCounters();
    }
  } catch (const std::exception& e) {
    ResetReadings();
    try {
      WriteLog(std::string("Exception, Error -> ") + e.what());
    } catch (...) {
      // Nothing more can be said about it.
    }
  }
}

void TMAINForm::ApplySuccess(const TDataOUT& result) {
  TDataOUT out = result;
  const TinfosRec& rec = out.infosRec;

  gPowerHeaterLevel = out.PowerHeaterLevel;
  gHeaterON = rec.ActiveHeater;
  gAutoTempRH_Heat = out.AutoTempRH_Heat;
  GroupBoxDisplays->ShapeHeating->setOn(gHeaterON);
  GroupBoxDisplays->ShapeHeating->setToolTip(
      gHeaterON ? Text(FormatText("Power : %d%%", gPowerHeaterLevel))
                : QStringLiteral("Turned OFF"));
  GroupBoxDisplays->ShapeAutoHeat->setOn(gAutoTempRH_Heat);
  TabSheetConfig->heating->Label_PowerMax->setText(Text(FormatText("%d %%", gPowerHeaterLevel)));
  SyncHeatingControls(gAutoTempRH_Heat, gHeaterON);

  const ReadingsTexts texts = FormatReadings(rec);
  QPalette black = GroupBoxDisplays->LabelTemp->palette();
  black.setColor(QPalette::WindowText, Qt::black);
  GroupBoxDisplays->LabelTemp->setPalette(black);
  GroupBoxDisplays->LabelRH->setPalette(black);
  SetText(GroupBoxDisplays->LabelTemp, texts.LabelTemp);
  SetText(GroupBoxDisplays->LabeltempInsideCamera, texts.LabeltempInsideCamera);
  SetText(GroupBoxDisplays->LabelRH, texts.LabelRH);
  SetText(GroupBoxDisplays->LabelPR, texts.LabelPR);

  if (DisplayTempHot) {
    CoolingPage& cooling = *TabSheetCCDCool;
    SetText(cooling.LabelTempHOT, texts.LabelTempHOT);
    SetText(secondaryReadings->LabelTempHotSide, texts.LabelTempHotSide);
    const auto yesNo = [](bool on) { return on ? QStringLiteral("Yes") : QStringLiteral("No"); };
    cooling.LabelJour->setText(yesNo(out.StatusSensor & 0x01));
    cooling.LabelCoolingEnabled->setText(yesNo(out.StatusSensor & 0x02));
    cooling.LabelFanEnabled->setText(yesNo(out.StatusSensor & 0x04));
    SetText(cooling.LabelSpeedfan, FormatText("  (%d)", out.ValueFan));
    ApplyCooling(out);
  }

  const bool weather = ShowsPressureAndWind(TypeCam);
  secondaryReadings->LabelPressure->setVisible(weather);
  secondaryReadings->LabelWind->setVisible(weather);
  if (weather) {
    SetText(secondaryReadings->LabelPressure, texts.LabelPressure);
    SetText(secondaryReadings->LabelWind, texts.LabelWind);
  }

  if (DisplayRH_int) {
    SetText(TabSheetCCDCool->LabelRH_int, texts.LabelRH_int);
    SetText(secondaryReadings->LabelRH_Inside, texts.LabelRH_Inside);
  }

  TinfosRec stamped = rec;
  stamped.Date = Now();
  stamped.ActiveHeater = gHeaterON;
  Datas.push_back(stamped);

  RefreshPlots(DisplayRH_int, DisplayTempHot);
  if (GroupBoxPlotOptions->CheckBoxLock_translate->isChecked()) {
    SetTimeWindow();
  }
  ShowPollCounters();
}

void TMAINForm::ApplyCooling(TDataOUT& out) {
  CoolingPage& cooling = *TabSheetCCDCool;
  // Changing the boxes here must not send anything to the board.
  const QSignalBlocker blockAuto(cooling.CheckBoxAutoCool);
  const QSignalBlocker blockManual(cooling.CheckBoxCOOLINGManual);
  const CoolingTexts texts =
      PresentCooling(out.StatusCooler, Now(), out.StateCCDCool, PreviousStateCCDCool);
  if (texts.autoMode) {
    const bool automatic = *texts.autoMode;
    cooling.CheckBoxAutoCool->setChecked(automatic);
    cooling.CheckBoxAutoCool->setEnabled(automatic);
    cooling.CheckBoxCOOLINGManual->setChecked(!automatic);
    cooling.CheckBoxCOOLINGManual->setEnabled(!automatic);
  }
  SetText(cooling.StaticTextModeCooling, texts.StaticTextModeCooling);
  SetText(cooling.StaticTextCoolingState, texts.StaticTextCoolingState);
  if (texts.StaticTextStartCauseCool) {
    SetText(cooling.StaticTextStartCauseCool, *texts.StaticTextStartCauseCool);
    SetText(cooling.StaticTextStopDay, *texts.StaticTextStopDay);
    SetText(cooling.StaticTextStopHot, *texts.StaticTextStopHot);
    SetText(cooling.StaticTextTooWet, *texts.StaticTextTooWet);
  }
}

void TMAINForm::ResetReadings() {
  const ReadingsTexts texts = PlaceholderReadings();
  SetText(GroupBoxDisplays->LabelTemp, texts.LabelTemp);
  SetText(GroupBoxDisplays->LabelRH, texts.LabelRH);
  SetText(GroupBoxDisplays->LabeltempInsideCamera, texts.LabeltempInsideCamera);
  SetText(TabSheetCCDCool->LabelTempHOT, texts.LabelTempHOT);
  SetText(secondaryReadings->LabelTempHotSide, texts.LabelTempHotSide);
  SetText(TabSheetCCDCool->LabelRH_int, texts.LabelRH_int);
  SetText(secondaryReadings->LabelRH_Inside, texts.LabelRH_Inside);
  SetText(secondaryReadings->LabelPressure, texts.LabelPressure);
  SetText(secondaryReadings->LabelWind, texts.LabelWind);
}

void TMAINForm::SyncHeatingControls(bool autoHeat, bool heaterOn) {
  struct Raised {
    bool& flag;
    ~Raised() { flag = false; }
  } raised{isUpdatingControls = true};
  QCheckBox* CheckBoxAutoHeat = TabSheetConfig->actions->CheckBoxAutoHeat;
  QCheckBox* CheckBoxForceheat = TabSheetConfig->actions->CheckBoxForceheat;
  if (autoHeat) {
    CheckBoxAutoHeat->setChecked(true);
    CheckBoxAutoHeat->setEnabled(true);
    CheckBoxForceheat->setEnabled(false);
    CheckBoxForceheat->setChecked(false);
  } else {
    CheckBoxAutoHeat->setChecked(false);
    CheckBoxForceheat->setEnabled(true);
    CheckBoxForceheat->setChecked(heaterOn);
  }
}

}  // namespace vesk
