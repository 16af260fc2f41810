#pragma once

#include <QString>

class QCustomPlot;
class QWidget;

namespace vesk {

// The five charts of the main window, in the order of their pages.
enum class ChartKind { Temperatures, RelativeHumidity, Pressure, WindSpeed, WindData };

// What tells the charts apart: names, captions, titles and the value range set at start.
struct ChartLook {
  const char* chartName;  // object name of the chart, e.g. "ChartTemp"
  const char* pageName;   // object name of its page, e.g. "TabSheetVolts"
  QString caption;        // the page's tab caption
  QString title;
  QString leftTitle;
  double minY;
  double maxY;
};

const ChartLook& LookOf(ChartKind kind);

// An empty chart with its title, a date-time time axis at the bottom and the value axis
// range of the start sequence. The series are added by the series building.
QCustomPlot* MakeChart(ChartKind kind, QWidget* parent = nullptr);

}  // namespace vesk
