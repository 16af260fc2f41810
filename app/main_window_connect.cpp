// Connecting to the board and disconnecting.
#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

#include "acquisition/gui/readings_panel.h"
#include "app/connection_bar.h"
#include "app/main_window.h"
#include "device/gui/cooling_page.h"
#include "device/gui/identity_group.h"
#include "device/gui/setup_page.h"
#include "lens/gui/lens_advanced_page.h"
#include "lens/gui/lens_basic_page.h"
#include "link/device_identity.h"
#include "plots/gui/chart_page.h"
#include "plots/gui/wind_speed_page.h"
#include "station/station_session.h"
#include "weather/gui/weather_debug_page.h"
#include "widgets/gui/message_box.h"

namespace vesk {

void TMAINForm::ButtonConnectClick() {
  // While a lost link is looked for, the operator still sees a connection and can end it.
  if (session_->Connected() || session_->Reconnecting()) {
    Disconnect();
  } else {
    Connect();
  }
}

void TMAINForm::Connect() {
  session_->Connect(PanelCOM->ComNumG());
}

// The connection's steps, for the operator's connection and a restored link alike: each is
// shown before the next may fail, so a reply too short for the model type still leaves the
// version on screen.
void TMAINForm::VersionRead(const DeviceIdentity& identity, bool /*restoring*/) {
  GroupBoxDisplays->ShowVersion(identity.VersionText());
  shownPage_ = PageControl->currentWidget();
  HideModelPages();
}

void TMAINForm::Identified(bool /*newConnection*/, bool restoring) {
  if (restoring && PageControl->isTabVisible(PageControl->indexOf(shownPage_))) {
    PageControl->setCurrentWidget(shownPage_);  // the pages come back as they were
  }
  ShowPanel();
  DisableSetupCOM();
}

void TMAINForm::Connected(bool newConnection) {
  TimerReconnect->stop();
  TimerGetPeriodicData->setInterval(10000);
  TimerGetPeriodicData->start();
  if (newConnection) {
    CheckBoxFastSpeedClick();
  } else {
    ApplyPollPeriod();  // the same board: its counters go on
  }
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

void TMAINForm::ModelRead(const DeviceIdentity& identity) {
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
  if (identity.GroupBoxV3) {
    IdentityGroup* GroupBoxV3 = TabSheetConfig->identityGroup();
    GroupBoxV3->show();
    GroupBoxV3->ShowSerialNumber("xxxxxx");  // until the board tells it
  }
  secondaryReadings->ShowFeatures(identity.DisplayTempHot, identity.DisplayRH_int);
  StatusPanels[0]->setText(QString::fromLatin1(model.label));
}

void TMAINForm::SerialNumberRead(const std::string& serialNumber) {
  TabSheetConfig->identityGroup()->ShowSerialNumber(serialNumber);
  StatusPanels[0]->setText(StatusPanels[0]->text() + QStringLiteral("   [") +
                           QString::fromStdString(serialNumber) + QStringLiteral("]"));
}

void TMAINForm::ConnectFailed(const std::string& text) {
  ShowError(this, QString::fromStdString(text + ", Restart software !"));
  ShowPanel();
  EnableSetupCOM();
}

void TMAINForm::Disconnect() {
  TimerGetPeriodicData->stop();
  TimerReconnect->stop();
  EnableSetupCOM();
  ShowCOM();
  HidePage(TabSheetWind);
  HidePage(TabSheetWeatherModule);
  session_->Disconnect();
}

}  // namespace vesk
