// The start sequence, in its order.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <clocale>
#include <exception>
#include <limits>

#include "acquisition/gui/readings_panel.h"
#include "acquisition/sensor_conversions.h"
#include "app/connection_bar.h"
#include "app/main_window.h"
#include "common/checked.h"
#include "common/event_log.h"
#include "common/number_text.h"
#include "device/gui/cooling_page.h"
#include "device/gui/heating_group.h"
#include "device/gui/humidity_setup_group.h"
#include "device/gui/setup_page.h"
#include "history/gui/progress_window.h"
#include "history/history_store.h"
#include "lens/gui/lens_advanced_page.h"
#include "lens/gui/lens_basic_page.h"
#include "link/com_obj_rs232.h"
#include "plots/gui/chart_page.h"
#include "plots/gui/plot_options_group.h"
#include "plots/gui/wind_speed_page.h"
#include "posting/gui/posting_page.h"
#include "settings/settings_file.h"
#include "weather/gui/weather_debug_page.h"
#include "widgets/gui/message_box.h"
#include "widgets/gui/number_edit.h"

namespace vesk {
namespace {

void CreateFolder(const std::filesystem::path& folder) {
  std::error_code ignored;  // a folder that cannot be made is left to the first writer
  std::filesystem::create_directories(folder, ignored);
}

QString OneDecimal(double value) {
  return QString::fromStdString(FormatText("%1.1f", value));
}

}  // namespace

void TMAINForm::FormCreate() {
  try {
    setWindowTitle(QStringLiteral("Vesk Monitor (18 JAN 2026) -> V3 and V2 firmware compliant"));
    WriteLog("Application opened");

    isUpdatingControls = false;
    Connected = false;
    ComObjRs232.reset();
    ShowCOM();
    std::setlocale(LC_NUMERIC, "C");
    PageControl->setCurrentIndex(0);

    ChemIMG = ChemExec / "Images";
    Chembckup = ChemExec / "backup";
    CreateFolder(ChemIMG);
    CreateFolder(Chembckup);
    PreviousStateCCDCool = {};

    FileIni = std::make_unique<TSettingsFile>(ChemExec);
    ComNumG = FileIni->ReadComNum();
    PanelCOM->SpinEditCOMPort->setValue(ComNumG);

    GroupBoxDisplays->setTitle(
        QString::fromStdString(FormatText("Parameters (Updated each %ds)", 10)));

    MinX = FileIni->ReadMinX();
    MaxX = FileIni->ReadMaxX();
    for (std::size_t chart = 0; chart < kTimeChartCount; ++chart) {
      timeFormats_[chart] = FileIni->ReadTimeFormat(static_cast<TTimeChart>(chart));
    }
    SetTimeWindow();
    // Every time axis then shows hours and minutes, whatever was read.
    timeFormats_.fill("hh:mm");

    HidePage(TabSheetWind);
    HidePage(TabSheetWeatherModule);
    HidePage(TabSheetWindir);
    HidePage(TabSheetDebugWeatherExt);
    HidePage(TabSheetIrisFocusAdv);
    HidePage(TabSheetIrisFocus);
    HidePage(TabSheetCCDCool);

    history = std::make_unique<HistoryStore>(ChemExec);
    {
      std::unique_ptr<TFormProgress> progress;
      history->LoadHistoryAtStart(Datas, [this, &progress](const std::string& text) {
        if (!progress) {
          progress = std::make_unique<TFormProgress>(this);
        }
        progress->ShowProgress(QString::fromStdString(text));
      });
    }

    SetHumiditySensorConstants(FileIni->ReadHumiditySensorGain(HumiditySensorGain()),
                               FileIni->ReadHumiditySensorOffset(HumiditySensorOffset()));

    PlotOptionsGroup& plots = *GroupBoxPlotOptions;
    const TYScaleSetting tempScale = FileIni->ReadYScale(TValueAxis::Temp);
    MinYTemp = tempScale.min;
    MaxYTemp = tempScale.max;
    plots.CheckBoxForceY->setChecked(tempScale.fixed);
    plots.EditMaxY_V->setText(OneDecimal(MaxYTemp));
    plots.EditMinY_V->setText(OneDecimal(MinYTemp));
    for (QWidget* w :
         std::initializer_list<QWidget*>{plots.ButtonApplyYTemp, plots.EditMaxY_V, plots.Label2,
                                         plots.EditMinY_V, plots.Label1}) {
      w->setVisible(tempScale.fixed);
    }

    HumiditySetupGroup& humidity = *TabSheetConfig->humiditySetup;
    humidity.NumberEditGainRH->setText(
        QString::fromStdString(FormatText("%1.5f", HumiditySensorGain())));
    humidity.NumberEditOffsetRH->setText(
        QString::fromStdString(FormatText("%1.5f", HumiditySensorOffset())));

    const TYScaleSetting rhScale = FileIni->ReadYScale(TValueAxis::RH);
    MinYRH = rhScale.min;
    MaxYRH = rhScale.max;
    plots.CheckBoxRHYScale->setChecked(rhScale.fixed);
    plots.NumberEditAmpsMax->setText(OneDecimal(MaxYRH));
    plots.NumberEditAmpsMin->setText(OneDecimal(MinYRH));
    for (QWidget* w :
         std::initializer_list<QWidget*>{plots.ButtonApplyRHYscale, plots.NumberEditAmpsMin,
                                         plots.Label13, plots.NumberEditAmpsMax, plots.Label14}) {
      w->setVisible(rhScale.fixed);
    }

    DisplayRH_int = false;
    DisplayTempHot = false;
    DriveEFlens_intf = false;
    RefreshPlots(false, false);

    TimerSavPeriodic.setInterval(900000);
    TimerSavPeriodic.start();

    const int minutes = FileIni->ReadFtpIntervall();
    TabSheetFTP->NumberEditFTPUpdate->setText(QString::number(minutes));
    // The posting interval is unsigned: a negative one is a range error that ends the start
    // here. The timer's milliseconds are held to what the timer can count.
    PostingIntervalSeconds = ToCardinal(static_cast<long long>(minutes) * 60);
    TimerFTP.setInterval(static_cast<int>(std::min<long long>(
        static_cast<long long>(minutes) * 60000, std::numeric_limits<int>::max())));
    FTPCredentials = FileIni->ReadFtpCredentials();
    polls->ResetCounters();
    TabSheetFTP->EditIP->setText(QString::fromStdString(FTPCredentials.Host));
    TabSheetFTP->Editlogin->setText(QString::fromStdString(FTPCredentials.User));
    TabSheetFTP->Editpass->setText(QString::fromStdString(FTPCredentials.Pass));
    TabSheetFTP->Editrepremote->setText(QString::fromStdString(FTPCredentials.RemotePath));
    TabSheetFTP->CheckBoxFTp_Passive->setChecked(FTPCredentials.Passive);
    TimerFTP.stop();

    PanelCOM->CheckBoxAutoStart->setChecked(FileIni->ReadAutostart());
    if (PanelCOM->CheckBoxAutoStart->isChecked()) {
      ButtonConnectClick();
    }

    // The new-value fields start from the board's current values.
    HeatingThresholdsGroup& heating = *TabSheetConfig->heating;
    heating.NumberEditTemp_Seuil->setText(heating.Label_TempSeuil->text()
                                              .remove(QStringLiteral("°C"), Qt::CaseInsensitive)
                                              .trimmed());
    heating.NumberEditRH_seuil->setText(
        heating.Label_RHSeuil->text().remove(QLatin1Char('%')).trimmed());
    heating.NumberEditPower_Level->setText(
        heating.Label_PowerMax->text().remove(QLatin1Char('%')).trimmed());

    Previous_LensID = 0;
    AbsolFocus = 0;
  } catch (const std::exception& e) {
    const std::string text = std::string("Error on startup -> ") + e.what();
    ShowError(this, QString::fromStdString(text));
    try {
      WriteLog(text);
    } catch (...) {
      // The box has shown it.
    }
  }
}

}  // namespace vesk
