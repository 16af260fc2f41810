#pragma once

#include <QColor>
#include <QString>

#include "plots/plot_series.h"
#include "settings/settings_file.h"

class QCPGraph;
class QCustomPlot;
class QPoint;
class QWidget;

namespace vesk {

// The five charts of the main window, in the order of their pages.
enum class ChartKind { Temperatures, RelativeHumidity, Pressure, WindSpeed, WindData };
inline constexpr std::size_t kChartCount = 5;

// What tells the charts apart: names, captions, titles and the value range set at start.
struct ChartLook {
  const char* chartName;  // object name of the chart, e.g. "ChartTemp"
  const char* pageName;   // object name of its page, e.g. "TabSheetVolts"
  QString caption;        // the page's tab caption
  QString title;
  QString leftTitle;
  double minY;
  double maxY;
  TTimeChart timeChart;  // its place among the time axes the settings file keeps
};

const ChartLook& LookOf(ChartKind kind);

// How a series is drawn. Mark sizes reach that many pixels to each side of the point;
// a line width of 0 draws the marks alone.
struct SeriesLook {
  TSeriesId id;
  const char* name;  // the graph's name, e.g. "SeriesTemp"
  ChartKind chart;
  QColor colour;
  int lineWidth;
  bool stairs;
  int markShape;  // a QCPScatterStyle::ScatterShape
  int markSize;
  QColor markFill;
  QColor markOutline;
};

const SeriesLook& LookOf(TSeriesId id);

// A chart with its title, a date-time time axis at the bottom, the value axis range of the
// start sequence and its series, empty; zoom and scroll with the mouse.
QCustomPlot* MakeChart(ChartKind kind, QWidget* parent = nullptr);

// The graph of a series on its chart.
QCPGraph* SeriesGraph(const QCustomPlot& chart, TSeriesId id);

// The text of status panel 1 for the cursor at that pixel of the chart.
QString CursorText(const QCustomPlot& chart, ChartKind kind, QPoint pixel);

}  // namespace vesk
