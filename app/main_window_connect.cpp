// Connecting to the board and disconnecting.
#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

#include <exception>

#include "acquisition/gui/readings_panel.h"
#include "app/connection_bar.h"
#include "app/main_window.h"
#include "common/event_log.h"
#include "common/exceptions.h"
#include "device/gui/cooling_page.h"
#include "device/gui/identity_group.h"
#include "device/gui/setup_page.h"
#include "lens/gui/lens_advanced_page.h"
#include "lens/gui/lens_basic_page.h"
#include "link/device_identity.h"
#include "plots/gui/chart_page.h"
#include "plots/gui/wind_speed_page.h"
#include "station/reconnection.h"
#include "station/station.h"
#include "weather/gui/weather_debug_page.h"
#include "widgets/gui/message_box.h"

namespace vesk {

void TMAINForm::ButtonConnectClick() {
  // While a lost link is looked for, the operator still sees a connection and can end it.
  if (station_->Connected() || reconnection_->Reconnecting()) {
    Disconnect();
  } else {
    Connect();
  }
}

void TMAINForm::Connect() {
  station_->BeginConnection();
  try {
    station_->OpenLink(PanelCOM->ComNumG());
    ConnectionSteps(station_->ReadVersion(), false);
  } catch (const std::exception& e) {
    ConnectFailed(e.what());
  }
}

// Everything after the version exchange, for the operator's connection and for a restored
// link alike; raises the first failure.
void TMAINForm::ConnectionSteps(DeviceIdentity identity, bool restoring) {
  // Each step is shown before the next may fail: a reply too short for the model type
  // still leaves the version on screen and in the log.
  GroupBoxDisplays->ShowVersion(identity.VersionText());
  WriteLog("Startup -> " + identity.VersionText());
  QWidget* shownPage = PageControl->currentWidget();
  HideModelPages();
  if (identity.typed) {
    WriteLog("Firmware > 2.0");
    station_->ReadModel(identity);
    WriteLog("Camera Type : " + std::to_string(identity.TypeCam));
    ApplyModel(identity);
  }
  const bool newConnection = !restoring || reconnection_->Identified();
  if (restoring && PageControl->isTabVisible(PageControl->indexOf(shownPage))) {
    PageControl->setCurrentWidget(shownPage);  // the pages come back as they were
  }

  ShowPanel();
  DisableSetupCOM();
  try {
    station_->GetCurrentSetup();
    PollDevice(true);
  } catch (const std::exception& e) {
    throw Exception(std::string("Error : voltage read error on startup -> ") + e.what());
  }
  TimerGetPeriodicData->setInterval(10000);
  TimerGetPeriodicData->start();
  station_->ConnectionDone();
  if (newConnection) {
    CheckBoxFastSpeedClick();
  } else {
    ApplyPollPeriod();  // the same board: its counters go on
  }
  reconnection_->Watch(PanelCOM->ComNumG());
}

void TMAINForm::HideModelPages() {
  for (QWidget* page : std::initializer_list<QWidget*>{
           TabSheetCCDCool, TabSheetIrisFocus, TabSheetIrisFocusAdv, TabSheetWind,
           TabSheetWeatherModule, TabSheetWindir, TabSheetDebugWeatherExt}) {
    HidePage(page);
  }
  secondaryReadings->ShowFeatures(false, false);
  TabSheetConfig->identityGroup()->hide();
}

void TMAINForm::ApplyModel(const DeviceIdentity& identity) {
  const ModelType& model = identity.model;
  TabSheetCCDCool->ShowModel(model.cooling == CoolingKind::Full);
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

  QString statusText = QString::fromLatin1(model.label);
  if (identity.GroupBoxV3) {
    IdentityGroup* GroupBoxV3 = TabSheetConfig->identityGroup();
    GroupBoxV3->show();
    statusText += QStringLiteral("   [") + QString::fromStdString(GroupBoxV3->ReadSerialNumber()) +
                  QStringLiteral("]");
  }
  secondaryReadings->ShowFeatures(identity.DisplayTempHot, identity.DisplayRH_int);
  StatusPanels[0]->setText(statusText);
  WriteLog("Setup Done");
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
  station_->ConnectionFailed();
}

void TMAINForm::Disconnect() {
  TimerGetPeriodicData->stop();
  reconnection_->Stop();
  TimerReconnect->stop();
  EnableSetupCOM();
  ShowCOM();
  HidePage(TabSheetWind);
  HidePage(TabSheetWeatherModule);
  station_->Disconnect();
}

}  // namespace vesk
