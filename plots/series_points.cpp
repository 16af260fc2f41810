#include "plots/series_points.h"

#include <algorithm>
#include <numeric>

#include "common/number_text.h"
#include "plots/series_values.h"

namespace vesk {

void AddPoint(TSeriesPoints& points, const TTinfosRec& history, std::size_t i, TSeriesId id,
              double baseline) {
  points.x.push_back(history[i].Date);
  points.y.push_back(PlottedValue(SeriesValue(history, i, id), id, baseline));
}

void SortByTime(TSeriesPoints& points) {
  if (std::is_sorted(points.x.begin(), points.x.end())) {
    return;
  }
  std::vector<std::size_t> order(points.x.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return points.x[a] < points.x[b]; });
  TSeriesPoints sorted;
  sorted.x.reserve(order.size());
  sorted.y.reserve(order.size());
  for (const std::size_t k : order) {
    sorted.x.push_back(points.x[k]);
    sorted.y.push_back(points.y[k]);
  }
  points = std::move(sorted);
}

std::optional<std::string> DataPointsText(std::size_t n) {
  constexpr std::size_t kDisplayLimit = 40000;
  if (n == 0) {
    return std::nullopt;
  }
  std::string text = FormatText(" Data pts=%zu", n);
  if (n > kDisplayLimit) {
    text += " display limited to " + std::to_string(kDisplayLimit) + " points";
  }
  return text;
}

}  // namespace vesk
