// The charts: their wiring and start, the shared time window, the series and the images.
#include <QLabel>

#include "acquisition/gui/readings_panel.h"
#include "acquisition/model_type.h"
#include "app/connection_bar.h"
#include "app/main_window.h"
#include "app/posting_controller.h"
#include "common/datetime.h"
#include "plots/external_ip.h"
#include "plots/gui/chart_page.h"
#include "plots/gui/chart_set.h"
#include "plots/gui/plot_options_group.h"
#include "plots/gui/wind_speed_page.h"
#include "posting/upload_job.h"
#include "settings/settings_file.h"
#include "station/station.h"

namespace vesk {

void TMAINForm::WireCharts() {
  charts_ = std::make_unique<ChartSet>(std::array<QCustomPlot*, kChartCount>{
      TabSheetVolts->chart(), TabSheetRH->chart(), TabSheetWeatherModule->chart(),
      TabSheetWind->chart(), TabSheetWindir->chart()});
  charts_->UseSettings([this] { return FileIni.get(); });
  charts_->SetImageSource({[this] { return ChemIMG; },
                           [this] {
                             return FileIni ? FileIni->ReadIpEchoUrl(kDefaultIpEchoUrl)
                                            : std::string(kDefaultIpEchoUrl);
                           },
                           [this] { return GroupBoxDisplays->TemperatureText(); }});
  GroupBoxPlotOptions->Attach(*charts_);
  TabSheetWind->Attach(*charts_);
  charts_->OnColumnsChanged([this](const TSeriesFlags& flags) { ShowSeries(flags); });
  connect(GroupBoxPlotOptions, &PlotOptionsGroup::refreshPlotsRequested, this, [this] {
    const IdentityState& identity = station().Identity();
    RefreshPlots(identity.DisplayRH_int, identity.DisplayTempHot);
  });
  const auto showReadout = [this](const QString& text) { StatusPanels[1]->setText(text); };
  for (ChartPage* page : {TabSheetVolts, TabSheetRH, TabSheetWeatherModule, TabSheetWindir}) {
    connect(page, &ChartPage::cursorReadout, this, showReadout);
  }
  connect(TabSheetWind, &WindSpeedPage::cursorReadout, this, showReadout);
}

void TMAINForm::StartCharts() {
  GroupBoxPlotOptions->StartWholeWindow(FileIni->ReadWholeWindow());
  TTimeWindow& window = charts_->timeWindow();
  window.ReadSettings(*FileIni);
  charts_->ShowTimeFormats();
  SetTimeWindow();
  // Every time axis then shows hours and minutes, whatever was read.
  window.SetAllFormats(kStartTimeFormat);
  charts_->ShowTimeFormats();
}

void TMAINForm::SetTimeWindow() {
  charts_->SetTimeWindow(Now());
}

void TMAINForm::RefreshPlots(bool displayRHInt, bool displayTempHot) {
  ShowSeries({displayRHInt, displayTempHot, HasWeatherModule(station().Identity().TypeCam),
              GroupBoxPlotOptions->WholeWindow()});
}

void TMAINForm::ShowSeries(const TSeriesFlags& flags) {
  if (const auto text = charts_->RefreshPlots(station().Datas(), flags)) {
    StatusPanels[2]->setText(QString::fromStdString(*text));
  }
}

void TMAINForm::BuildPosting() {
  posting_ = new PostingController(
      *TabSheetFTP, ChemExec,
      {this, charts_.get(), [this] { return FileIni.get(); }, [this] { return ChemIMG; },
       [this](const std::string& address) { return SavePostingImages(address); }});
}

std::vector<std::filesystem::path> TMAINForm::SavePostingImages(const std::string& address) {
  std::vector<std::filesystem::path> files = {ChemIMG / kTempImage, ChemIMG / kRHImage};
  charts_->SaveChartImage(ChartKind::Temperatures, files[0], 100, address);
  charts_->SaveChartImage(ChartKind::RelativeHumidity, files[1], 100, address);
  return files;
}

void TMAINForm::SaveSettings() {
  TSavedSettings saved;
  saved.comNum = PanelCOM->ComNumG();
  saved.temp = GroupBoxPlotOptions->Scale(TValueAxis::Temp);
  saved.rh = GroupBoxPlotOptions->Scale(TValueAxis::RH);
  saved.autostart = PanelCOM->AutoStart();
  saved.ftp = posting_->account();
  saved.humiditySensorGain = station().Humidity().HumiditySensorGain;
  saved.humiditySensorOffset = station().Humidity().HumiditySensorOffset;
  FileIni->SaveSettings(saved);
}

}  // namespace vesk
