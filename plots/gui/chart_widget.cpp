#include "plots/gui/chart_widget.h"

#include "plots/gui/custom_plot.h"

#include <array>

namespace vesk {

namespace {

const std::array<ChartLook, 5>& Looks() {
  static const std::array<ChartLook, 5> looks = {{
      {"ChartTemp", "TabSheetVolts", QStringLiteral("Temperatures"),
       QStringLiteral("Temperature (°C)"), QStringLiteral("Temperature (°C)"), 0, 50},
      {"ChartRH", "TabSheetRH", QStringLiteral("Relative humidity"),
       QStringLiteral("Relative Humidity"), QStringLiteral("RH (%)"), 0, 100},
      {"ChartPress", "TabSheetWeatherModule", QStringLiteral("Pressure"),
       QStringLiteral("Pressure (hPA)"), QStringLiteral("Pression (hPA)"), 1000, 1030},
      {"ChartWindspeed", "TabSheetWind", QStringLiteral("Wind speed"),
       QStringLiteral("Wind speed (km/h)"), QStringLiteral("Vitesse vent (km/h)"), 0, 50},
      {"ChartWindDir", "TabSheetWindir", QStringLiteral("Wind data"),
       QStringLiteral("Wind direction - Azimuth (°)"), QStringLiteral("Direction du vent"), 0, 360},
  }};
  return looks;
}

}  // namespace

const ChartLook& LookOf(ChartKind kind) {
  return Looks().at(static_cast<std::size_t>(kind));
}

QCustomPlot* MakeChart(ChartKind kind, QWidget* parent) {
  const ChartLook& look = LookOf(kind);
  auto* chart = new QCustomPlot(parent);
  chart->setObjectName(QString::fromLatin1(look.chartName));
  chart->legend->setVisible(false);

  QFont titleFont(QStringLiteral("Courier New"));
  titleFont.setStyleHint(QFont::TypeWriter);
  titleFont.setBold(true);
  chart->plotLayout()->insertRow(0);
  chart->plotLayout()->addElement(0, 0, new QCPTextElement(chart, look.title, titleFont));

  auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
  ticker->setDateTimeFormat(QStringLiteral("hh:mm"));
  chart->xAxis->setTicker(ticker);
  chart->xAxis->setTickLabelRotation(-90);  // turned a quarter anticlockwise, read upwards
  chart->xAxis->setLabel(QStringLiteral("Time"));

  chart->yAxis->setLabel(look.leftTitle);
  chart->yAxis->setRange(look.minY, look.maxY);
  return chart;
}

}  // namespace vesk
