#include "tests/plots/chart_checks.h"

#include "plots/gui/custom_plot.h"

#include <QTimer>

#include "plots/gui/chart_time.h"
#include "tests/support/window_fixture.h"

namespace vesk::test {

QCustomPlot& Chart(const QObject& root, const char* name) {
  return Find<QCustomPlot>(root, name);
}

TTimeRange TimeRange(const QCustomPlot& chart) {
  return {FromChartKey(chart.xAxis->range().lower), FromChartKey(chart.xAxis->range().upper)};
}

bool ShowsWindow(const QCustomPlot& chart, TDateTime before, TDateTime after, double minX,
                 double maxX) {
  // Compared as chart keys, where a millisecond is well above the rounding.
  constexpr double kSlack = 0.001;
  const QCPRange range = chart.xAxis->range();
  const auto within = [](double key, TDateTime from, TDateTime to) {
    return key >= ChartKey(from) - kSlack && key <= ChartKey(to) + kSlack;
  };
  return within(range.lower, before - minX, after - minX) &&
         within(range.upper, before + maxX, after + maxX);
}

int Points(const QCustomPlot& chart, const char* series) {
  for (int i = 0; i < chart.graphCount(); ++i) {
    if (chart.graph(i)->name() == QLatin1String(series)) {
      return chart.graph(i)->dataCount();
    }
  }
  throw std::runtime_error(std::string("no series ") + series);
}

void StopPolls(TMAINForm& w) {
  Find<QTimer>(w, "TimerGetPeriodicData").stop();
}

TIniFile Settings(const WindowFixture& fixture) {
  return TIniFile(fixture.folder / "VeskLevel.ini");
}

}  // namespace vesk::test
