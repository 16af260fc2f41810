#include "plots/gui/series_view.h"

#include "plots/gui/custom_plot.h"

#include <stdexcept>

#include "plots/gui/chart_time.h"

namespace vesk {

SeriesView::SeriesView(const std::array<QCustomPlot*, kChartCount>& charts) {
  for (std::size_t s = 0; s < kSeriesCount; ++s) {
    const TSeriesId id = kAllSeries[s];
    graphs_[s] = SeriesGraph(*charts[static_cast<std::size_t>(LookOf(id).chart)], id);
    if (graphs_[s] == nullptr) {
      throw std::logic_error(std::string("no graph for ") + LookOf(id).name);
    }
  }
}

void SeriesView::Show(const TPlotSeries& plot) {
  for (std::size_t s = 0; s < kSeriesCount; ++s) {
    const TSeriesPoints& points = plot.points[s];
    QVector<QCPGraphData> data(static_cast<qsizetype>(points.x.size()));
    for (std::size_t i = 0; i < points.x.size(); ++i) {
      data[static_cast<qsizetype>(i)] = QCPGraphData(ChartKey(points.x[i]), points.y[i]);
    }
    // The core hands the points in ascending time.
    graphs_[s]->data()->set(data, true);
  }
}

}  // namespace vesk
