#pragma once

#include <array>

#include "plots/gui/chart_widget.h"
#include "plots/plot_series.h"

class QCPGraph;
class QCustomPlot;

namespace vesk {

// Hands the series the core built to the charts' graphs: one call per series, with the
// date-times turned into the time axes' keys. Drawing is left to the caller.
class SeriesView {
 public:
  // The charts in ChartKind order, each with its series (MakeChart).
  explicit SeriesView(const std::array<QCustomPlot*, kChartCount>& charts);

  void Show(const TPlotSeries& plot);

 private:
  std::array<QCPGraph*, kSeriesCount> graphs_{};
};

}  // namespace vesk
