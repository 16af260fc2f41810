// The shared time window. The series themselves are built with the charts.
#include "plots/gui/custom_plot.h"

#include <chrono>

#include <QLabel>

#include "app/connection_bar.h"
#include "app/main_window.h"
#include "common/number_text.h"
#include "plots/gui/chart_page.h"
#include "plots/gui/plot_options_group.h"
#include "plots/gui/wind_speed_page.h"
#include "settings/settings_file.h"
#include "station/station.h"

namespace vesk {
namespace {

// Chart keys are seconds since the epoch; date-time values are local days since 1899.
double ChartKey(TDateTime value) {
  return std::chrono::duration<double>(ToTimePoint(value).time_since_epoch()).count();
}

}  // namespace

void TMAINForm::SetTimeWindow() {
  const TDateTime t = Now();
  for (QCustomPlot* chart :
       {TabSheetVolts->chart(), TabSheetRH->chart(), TabSheetWeatherModule->chart(),
        TabSheetWindir->chart(), TabSheetWind->chart()}) {
    chart->xAxis->setRange(ChartKey(t - MinX), ChartKey(t + MaxX));
    chart->replot(QCustomPlot::rpQueuedReplot);
  }
  if (FileIni) {
    FileIni->WriteTimeWindow(MinX, MaxX, timeFormats_);
  }
}

void TMAINForm::RefreshPlots(bool, bool) {
  const std::size_t n = station_->Datas().size();
  if (n == 0) {
    return;
  }
  std::string text = FormatText(" Data pts=%zu", n);
  if (n > 40000) {
    text += " display limited to 40000 points";
  }
  StatusPanels[2]->setText(QString::fromStdString(text));
}

void TMAINForm::SaveSettings() {
  TSavedSettings saved;
  saved.comNum = PanelCOM->ComNumG();
  saved.temp = {GroupBoxPlotOptions->ForceY(), MinYTemp, MaxYTemp};
  saved.rh = {GroupBoxPlotOptions->RHYScale(), MinYRH, MaxYRH};
  saved.autostart = PanelCOM->AutoStart();
  saved.ftp = FTPCredentials;
  saved.humiditySensorGain = station_->Humidity().HumiditySensorGain;
  saved.humiditySensorOffset = station_->Humidity().HumiditySensorOffset;
  FileIni->SaveSettings(saved);
}

}  // namespace vesk
