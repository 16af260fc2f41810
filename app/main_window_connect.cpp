// Connecting to the board and disconnecting.
#include <QLineEdit>
#include <QStatusBar>
#include <QThread>

#include <exception>

#include "acquisition/gui/readings_panel.h"
#include "acquisition/thread_request.h"
#include "app/connection_bar.h"
#include "app/main_window.h"
#include "common/event_log.h"
#include "device/gui/cooling_page.h"
#include "device/gui/heating_group.h"
#include "device/gui/identity_group.h"
#include "device/gui/setup_page.h"
#include "device/heating_orders.h"
#include "device/identity_orders.h"
#include "lens/gui/lens_advanced_page.h"
#include "lens/gui/lens_basic_page.h"
#include "link/com_obj_rs232.h"
#include "link/device_identity.h"
#include "link/order_codes.h"
#include "plots/gui/chart_page.h"
#include "plots/gui/wind_speed_page.h"
#include "weather/gui/weather_debug_page.h"
#include "widgets/gui/message_box.h"

namespace vesk {

void TMAINForm::ButtonConnectClick() {
  if (Connected) {
    Disconnect();
  } else {
    Connect();
  }
}

void TMAINForm::Connect() {
  polls->ResetCounters();
  LensCheckCount = 0;
  try {
    // A link left by a failed attempt is replaced (its port is closed already).
    ComObjRs232 = std::make_unique<TComObjRs232>(ChemExec);
    ComObjRs232->OpenCom(PanelCOM->SpinEditCOMPort->value());

    TArrayByte reply;
    // The board needs a moment after the port opens.
    QThread::msleep(100);
    ComObjRs232->SendOrder_ReceiveFeedBack({REQ_ORDER_VERSION}, reply);
    const DeviceIdentity identity = IdentifyDevice(reply);
    GroupBoxDisplays->LabelVer->setText(QString::fromStdString(identity.VersionText()));
    WriteLog("Startup -> " + identity.VersionText());
    ApplyIdentity(identity);

    ShowPanel();
    DisableSetupCOM();
    try {
      GetCurrentSetup();
      PollDevice(true);
    } catch (const std::exception& e) {
      throw Exception(std::string("Error : voltage read error on startup -> ") + e.what());
    }
    TimerGetPeriodicData.setInterval(10000);
    TimerGetPeriodicData.start();
    Connected = true;
    CheckBoxFastSpeedClick();
    ErrorLens = 0;
  } catch (const std::exception& e) {
    ConnectFailed(e.what());
  }
}

void TMAINForm::ApplyIdentity(const DeviceIdentity& identity) {
  Version = identity.Version;
  DisplayTempHot = false;
  DisplayRH_int = false;
  for (QWidget* page : std::initializer_list<QWidget*>{
           TabSheetCCDCool, TabSheetIrisFocus, TabSheetIrisFocusAdv, TabSheetWind,
           TabSheetWeatherModule, TabSheetWindir, TabSheetDebugWeatherExt}) {
    HidePage(page);
  }
  secondaryReadings->LabelTempHotSide->hide();
  secondaryReadings->LabelRH_Inside->hide();
  IdentityGroup* GroupBoxV3 = TabSheetConfig->GroupBoxV3;
  GroupBoxV3->hide();

  TypeCam = identity.TypeCam;
  if (!identity.typed) {
    return;
  }
  WriteLog("Firmware > 2.0");
  WriteLog("Camera Type : " + std::to_string(identity.TypeCam));

  const ModelType& model = identity.model;
  CoolingPage& cooling = *TabSheetCCDCool;
  const bool fullCooling = model.cooling == CoolingKind::Full;
  for (QWidget* w : std::initializer_list<QWidget*>{
           cooling.LabelSayJour, cooling.LabelJour, cooling.LabelSayCooling,
           cooling.LabelCoolingEnabled, cooling.LabelSayFan, cooling.LabelFanEnabled,
           cooling.LabelSpeedfan, cooling.GroupBoxCoolDirect}) {
    w->setVisible(fullCooling);
  }
  if (model.weatherPages) {
    for (QWidget* page : std::initializer_list<QWidget*>{TabSheetWind, TabSheetWeatherModule,
                                                         TabSheetWindir, TabSheetDebugWeatherExt}) {
      ShowPage(page);
    }
  }
  if (model.basicLensPage) {
    ShowPage(TabSheetIrisFocus);
  }
  if (model.advancedLensPage) {
    ShowPage(TabSheetIrisFocusAdv);
  }
  if (model.cooling != CoolingKind::Hidden) {
    ShowPage(TabSheetCCDCool);
  }
  DriveEFlens_intf = identity.DriveEFlens_intf;

  QString statusText = QString::fromLatin1(model.label);
  if (identity.GroupBoxV3) {
    GroupBoxV3->show();
    GroupBoxV3->EditSNR->setText(QStringLiteral("xxxxxx"));
    GroupBoxV3->EditSNR->setText(QString::fromStdString(ReadSerialNumber(*ComObjRs232)));
    statusText += QStringLiteral("   [") + GroupBoxV3->EditSNR->text() + QStringLiteral("]");
  }
  DisplayTempHot = identity.DisplayTempHot;
  DisplayRH_int = identity.DisplayRH_int;
  secondaryReadings->LabelTempHotSide->setVisible(DisplayTempHot);
  secondaryReadings->LabelRH_Inside->setVisible(DisplayRH_int);
  StatusPanels[0]->setText(statusText);
  WriteLog("Setup Done");
}

void TMAINForm::GetCurrentSetup() {
  const HeatingThresholds thresholds = GetConfig(*ComObjRs232);
  gSeuil_Temp_asWord = thresholds.gSeuil_Temp_asWord;
  gSeuil_RH_asWord = thresholds.gSeuil_RH_asWord;
  const HeatingThresholdTexts texts = FormatThresholds(thresholds);
  HeatingThresholdsGroup& heating = *TabSheetConfig->heating;
  heating.Label_TempSeuil->setToolTip(QString::fromStdString(texts.Label_TempSeuilHint));
  heating.Label_RHSeuil->setToolTip(QString::fromStdString(texts.Label_RHSeuilHint));
  heating.Label_TempSeuil->setText(QString::fromStdString(texts.Label_TempSeuil));
  heating.Label_RHSeuil->setText(QString::fromStdString(texts.Label_RHSeuil));
  WriteLog(texts.logLine);
}

void TMAINForm::ConnectFailed(const std::string& message) {
  const std::string text = "Issue with data link (FATAL ERROR) : " + message;
  ShowError(this, QString::fromStdString(text + ", Restart software !"));
  try {
    WriteLog(text);
  } catch (...) {
    // The box has shown it.
  }
  ShowPanel();
  EnableSetupCOM();
  if (ComObjRs232) {
    polls->WaitForPoll();
    ComObjRs232->CloseCom();
  }
  Connected = false;
}

void TMAINForm::Disconnect() {
  TimerGetPeriodicData.stop();
  Connected = false;
  EnableSetupCOM();
  ShowCOM();
  HidePage(TabSheetWind);
  HidePage(TabSheetWeatherModule);
  if (ComObjRs232) {
    // Never close the port under a running exchange: the poll in progress ends first.
    polls->WaitForPoll();
    ComObjRs232->CloseCom();
    ComObjRs232.reset();
  }
}

}  // namespace vesk
