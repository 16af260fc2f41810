#include "plots/gui/chart_widget.h"

#include "plots/gui/custom_plot.h"

#include <array>
#include <stdexcept>

#include "plots/cursor_readout.h"
#include "plots/gui/chart_time.h"

namespace vesk {

namespace {

const std::array<ChartLook, kChartCount>& Looks() {
  static const std::array<ChartLook, kChartCount> looks = {{
      {"ChartTemp", "TabSheetVolts", QStringLiteral("Temperatures"),
       QStringLiteral("Temperature (°C)"), QStringLiteral("Temperature (°C)"), 0, 50,
       TTimeChart::Temp},
      {"ChartRH", "TabSheetRH", QStringLiteral("Relative humidity"),
       QStringLiteral("Relative Humidity"), QStringLiteral("RH (%)"), 0, 100, TTimeChart::RH},
      {"ChartPress", "TabSheetWeatherModule", QStringLiteral("Pressure"),
       QStringLiteral("Pressure (hPA)"), QStringLiteral("Pression (hPA)"), 1000, 1030,
       TTimeChart::Press},
      {"ChartWindspeed", "TabSheetWind", QStringLiteral("Wind speed"),
       QStringLiteral("Wind speed (km/h)"), QStringLiteral("Vitesse vent (km/h)"), 0, 50,
       TTimeChart::WindSpeed},
      {"ChartWindDir", "TabSheetWindir", QStringLiteral("Wind data"),
       QStringLiteral("Wind direction - Azimuth (°)"), QStringLiteral("Direction du vent"), 0, 360,
       TTimeChart::WindDir},
  }};
  return looks;
}

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);
const QColor kLime(0, 255, 0);
const QColor kAqua(0, 255, 255);
const QColor kHeater(128, 0, 255);
const QColor kNavy(0, 0, 128);
const QColor kWindFill(0, 128, 64);
const QColor kGreen(0, 128, 0);
const QColor kPurple(128, 0, 128);
const QColor kBlue(0, 0, 255);
const QColor kNone;

// Each chart's series in drawing order, the first drawn lowest.
const std::array<SeriesLook, kSeriesCount>& SeriesLooks() {
  using Id = TSeriesId;
  using Kind = ChartKind;
  constexpr int kNoMark = QCPScatterStyle::ssNone;
  constexpr int kCircle = QCPScatterStyle::ssCircle;
  constexpr int kDiamond = QCPScatterStyle::ssDiamond;
  static const std::array<SeriesLook, kSeriesCount> looks = {{
      {Id::SeriesOn_Off_Heater, "SeriesOn_Off_Heater", Kind::Temperatures, kHeater, 2, true,
       kNoMark, 0, kNone, kNone},
      {Id::SeriesTP2, "SeriesTP2", Kind::Temperatures, kBlack, 1, false, kCircle, 2, kBlack,
       kBlack},
      {Id::SeriesTempHot, "SeriesTempHot", Kind::Temperatures, kLime, 1, false, kDiamond, 3, kLime,
       kLime},
      {Id::SeriesPR, "SeriesPR", Kind::Temperatures, kAqua, 2, false, kNoMark, 0, kNone, kNone},
      {Id::SeriesTemp, "SeriesTemp", Kind::Temperatures, kRed, 1, false, kCircle, 2, kRed, kRed},
      {Id::SeriesRHint, "SeriesRHint", Kind::RelativeHumidity, kLime, 1, false, kCircle, 2, kLime,
       kLime},
      {Id::SeriesRH, "SeriesRH", Kind::RelativeHumidity, kRed, 1, false, kCircle, 2, kRed, kRed},
      {Id::SeriesPressure, "SeriesPressure", Kind::Pressure, kRed, 1, false, kCircle, 2, kRed,
       kRed},
      {Id::SeriesWindspeed, "SeriesWindspeed", Kind::WindSpeed, kNavy, 0, false, kCircle, 2,
       kWindFill, kGreen},
      {Id::SeriesWindDir, "SeriesWindDir", Kind::WindData, kPurple, 0, false, kCircle, 2, kPurple,
       kBlue},
  }};
  return looks;
}

// A series' mark, drawn once into a picture that every point then copies: thousands of points
// are drawn again after each poll, and copying a picture costs a fraction of drawing a shape.
// Drawn without smoothing, with its outline over its fill, as the system draws its marks.
QCPScatterStyle Mark(const SeriesLook& look) {
  const QCPScatterStyle shape(static_cast<QCPScatterStyle::ScatterShape>(look.markShape),
                              QPen(look.markOutline), QBrush(look.markFill), 2.0 * look.markSize);
  const int side = 2 * look.markSize + 3;
  QPixmap picture(side, side);
  picture.fill(Qt::transparent);
  {
    QCPPainter painter(&picture);
    painter.setAntialiasing(false);
    shape.applyTo(&painter, QPen());
    shape.drawShape(&painter, side / 2, side / 2);
  }
  return QCPScatterStyle(picture);
}

void AddGraph(QCustomPlot* chart, const SeriesLook& look) {
  QCPGraph* graph = chart->addGraph();
  graph->setName(QString::fromLatin1(look.name));
  if (look.lineWidth > 0) {
    graph->setPen(QPen(look.colour, look.lineWidth));
    graph->setLineStyle(look.stairs ? QCPGraph::lsStepLeft : QCPGraph::lsLine);
  } else {
    graph->setPen(QPen(look.colour));
    graph->setLineStyle(QCPGraph::lsNone);
  }
  if (look.markShape != QCPScatterStyle::ssNone) {
    graph->setScatterStyle(Mark(look));
  }
}

}  // namespace

const ChartLook& LookOf(ChartKind kind) {
  return Looks().at(static_cast<std::size_t>(kind));
}

const SeriesLook& LookOf(TSeriesId id) {
  for (const SeriesLook& look : SeriesLooks()) {
    if (look.id == id) {
      return look;
    }
  }
  throw std::out_of_range("no such series");
}

QCustomPlot* MakeChart(ChartKind kind, QWidget* parent) {
  const ChartLook& look = LookOf(kind);
  auto* chart = new QCustomPlot(parent);
  chart->setObjectName(QString::fromLatin1(look.chartName));
  chart->legend->setVisible(false);
  chart->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
  chart->setMouseTracking(true);  // the cursor readout follows the mouse without a button
  // Thousands of points a series after every poll: one polyline each, drawn without
  // smoothing as the system draws its lines, into one buffer a chart.
  chart->setPlottingHint(QCP::phFastPolylines);
  chart->setNotAntialiasedElements(QCP::aePlottables | QCP::aeScatters);
  chart->layer(QStringLiteral("overlay"))->setMode(QCPLayer::lmLogical);

  QFont titleFont;
  titleFont.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
  titleFont.setStyleHint(QFont::TypeWriter);
  titleFont.setBold(true);
  chart->plotLayout()->insertRow(0);
  chart->plotLayout()->addElement(0, 0, new QCPTextElement(chart, look.title, titleFont));

  auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
  ticker->setDateTimeFormat(QStringLiteral("hh:mm"));
  ticker->setDateTimeSpec(Qt::UTC);  // see ChartKey
  chart->xAxis->setTicker(ticker);
  chart->xAxis->setTickLabelRotation(-90);  // turned a quarter anticlockwise, read upwards
  chart->xAxis->setLabel(QStringLiteral("Time"));

  chart->yAxis->setLabel(look.leftTitle);
  chart->yAxis->setRange(look.minY, look.maxY);

  for (const SeriesLook& series : SeriesLooks()) {
    if (series.chart == kind) {
      AddGraph(chart, series);
    }
  }
  return chart;
}

QCPGraph* SeriesGraph(const QCustomPlot& chart, TSeriesId id) {
  const QString name = QString::fromLatin1(LookOf(id).name);
  for (int i = 0; i < chart.graphCount(); ++i) {
    if (chart.graph(i)->name() == name) {
      return chart.graph(i);
    }
  }
  return nullptr;
}

QString CursorText(const QCustomPlot& chart, ChartKind kind, QPoint pixel) {
  const TDateTime d = FromChartKey(chart.xAxis->pixelToCoord(pixel.x()));
  const double v = chart.yAxis->pixelToCoord(pixel.y());
  return QString::fromStdString(CursorReadout(LookOf(kind).timeChart, d, v));
}

}  // namespace vesk
