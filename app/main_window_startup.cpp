// The start sequence, in its order.
#include <QTabWidget>
#include <QTimer>

#include <clocale>
#include <exception>

#include "acquisition/gui/readings_panel.h"
#include "app/connection_bar.h"
#include "app/main_window.h"
#include "app/posting_controller.h"
#include "common/event_log.h"
#include "common/number_text.h"
#include "device/gui/actions_group.h"
#include "device/gui/cooling_page.h"
#include "device/gui/heating_group.h"
#include "device/gui/humidity_setup_group.h"
#include "device/gui/setup_page.h"
#include "history/gui/progress_window.h"
#include "lens/gui/lens_advanced_page.h"
#include "lens/gui/lens_basic_page.h"
#include "plots/gui/chart_page.h"
#include "plots/gui/plot_options_group.h"
#include "plots/gui/wind_speed_page.h"
#include "settings/settings_file.h"
#include "station/station.h"
#include "station/station_session.h"
#include "station/station_settings.h"
#include "weather/gui/weather_debug_page.h"
#include "widgets/gui/message_box.h"

namespace vesk {
namespace {

void CreateFolder(const std::filesystem::path& folder) {
  std::error_code ignored;  // a folder that cannot be made is left to the first writer
  std::filesystem::create_directories(folder, ignored);
}

}  // namespace

void TMAINForm::FormCreate() {
  try {
    setWindowTitle(QStringLiteral("Vesk Monitor (18 JAN 2026) -> V3 and V2 firmware compliant"));
    StationSession::LogOpened();

    ShowCOM();
    std::setlocale(LC_NUMERIC, "C");
    PageControl->setCurrentIndex(0);

    ChemIMG = ChemExec / "Images";
    Chembckup = ChemExec / "backup";
    CreateFolder(ChemIMG);
    CreateFolder(Chembckup);
    TabSheetCCDCool->ResetCoolingState();

    FileIni = std::make_unique<TSettingsFile>(ChemExec);
    const StationSettings settings = ReadStationSettings(*FileIni);
    session_->ApplySettings(settings);
    PanelCOM->SetComNum(settings.comNum);
    // Shows "COM" "Device" and stores each choice; the session opens what it names.
    PanelCOM->UseSettings(ChemExec);

    GroupBoxDisplays->ShowUpdatePeriod(10);

    StartCharts();

    HidePage(TabSheetWind);
    HidePage(TabSheetWeatherModule);
    HidePage(TabSheetWindir);
    HidePage(TabSheetDebugWeatherExt);
    HidePage(TabSheetIrisFocusAdv);
    HidePage(TabSheetIrisFocus);
    HidePage(TabSheetCCDCool);

    {
      std::unique_ptr<TFormProgress> progress;
      session_->LoadHistory([this, &progress](const std::string& text) {
        if (!progress) {
          progress = std::make_unique<TFormProgress>(this);
        }
        progress->ShowProgress(QString::fromStdString(text));
      });
    }

    GroupBoxPlotOptions->StartScale(TValueAxis::Temp, FileIni->ReadYScale(TValueAxis::Temp));
    TabSheetConfig->humiditySetupGroup()->ShowConstants(station().Humidity());
    GroupBoxPlotOptions->StartScale(TValueAxis::RH, FileIni->ReadYScale(TValueAxis::RH));

    RefreshPlots(false, false);

    // 15 minutes unless the settings file says otherwise.
    TimerSavPeriodic->setInterval(static_cast<int>(settings.savePeriod * 1000));
    TimerSavPeriodic->start();

    posting_->Start(*FileIni);
    station().ResetPollCounters();

    TimerReconnect->setInterval(static_cast<int>(settings.reconnectPeriod * 1000));

    // Before the connection, so its first poll already reaches the observatory.
    StartIntegrations();

    // An unattended station may start in fast mode; the connection applies the box.
    TabSheetConfig->actionsGroup()->SetFastSpeed(settings.fastSpeed);

    PanelCOM->SetAutoStart(settings.autostart);
    if (PanelCOM->AutoStart()) {
      ButtonConnectClick();
    }

    TabSheetConfig->heatingGroup()->StartFromCurrentValues();
  } catch (const std::exception& e) {
    const std::string text = std::string("Error on startup -> ") + e.what();
    ShowError(this, QString::fromStdString(text));
    WriteLog(text);
  }
}

}  // namespace vesk
