#pragma once

#include <QObject>

#include "plots/time_window.h"
#include "settings/ini_file.h"

class QCustomPlot;

namespace vesk {
class TMAINForm;
}

namespace vesk::test {

class WindowFixture;

// The charts in the order the time window writes their keys, with their sections.
struct ChartSection {
  const char* chart;
  const char* section;
};
inline constexpr ChartSection kTimeCharts[] = {{"ChartTemp", "Temp_scale"},
                                               {"ChartRH", "RH_scale"},
                                               {"ChartPress", "Press_scale"},
                                               {"ChartWindDir", "Press_WinDir"},
                                               {"ChartWindspeed", "Press_WinSpeed"}};

QCustomPlot& Chart(const QObject& root, const char* name);

// The time axis as date-times.
TTimeRange TimeRange(const QCustomPlot& chart);

// Whether the chart's time axis runs from now − minX to now + maxX for a now between
// before and after.
bool ShowsWindow(const QCustomPlot& chart, TDateTime before, TDateTime after, double minX,
                 double maxX);

// The points the chart holds on a series.
int Points(const QCustomPlot& chart, const char* series);

// No poll of the timer's comes between a test's steps; the test polls when it means to.
void StopPolls(TMAINForm& w);

// The settings file of the fixture's program folder.
TIniFile Settings(const WindowFixture& fixture);

}  // namespace vesk::test
