#include "plots/series_build.h"

#include <cmath>
#include <vector>

#include "plots/series_points.h"
#include "plots/series_values.h"

namespace vesk {
namespace {

constexpr std::size_t kNewestRecords = 3000;
constexpr double kCutOffMargin = 1.0;  // day

// The records the backward scan takes, oldest first.
std::vector<std::size_t> ScannedRecords(const TTinfosRec& history, TDateTime cutOff) {
  const std::size_t n = history.size();
  const std::size_t first = n > kNewestRecords ? n - kNewestRecords : 0;
  std::vector<std::size_t> taken;
  for (std::size_t i = n; i-- > first;) {
    const TDateTime date = history[i].Date;
    if (std::isfinite(date)) {
      taken.push_back(i);
    }
    if (date < cutOff) {
      break;
    }
  }
  return {taken.rbegin(), taken.rend()};
}

}  // namespace

void BuildSeries(const TTinfosRec& history, const TPlotWindow& window, const TSeriesFlags& flags,
                 TPlotSeries& plot) {
  plot.Clear();
  if (history.empty()) {
    return;
  }
  const std::vector<std::size_t> records = ScannedRecords(history, window.timeMin - kCutOffMargin);
  for (const TSeriesId id : kAllSeries) {
    if (!SeriesShown(id, flags)) {
      continue;
    }
    TSeriesPoints& points = plot[id];
    points.x.reserve(records.size());
    points.y.reserve(records.size());
    for (const std::size_t i : records) {
      AddPoint(points, history, i, id, window.valueMin);
    }
    SortByTime(points);
  }
  plot.statusText = DataPointsText(history.size());
}

}  // namespace vesk
