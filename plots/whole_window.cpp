#include "plots/whole_window.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "plots/series_build.h"
#include "plots/series_points.h"
#include "plots/series_values.h"

namespace vesk {
namespace {

constexpr std::size_t kNoRecord = SIZE_MAX;

// Column −1 holds what lies left of the window, column `columns` what lies right of it.
class ColumnGrid {
 public:
  ColumnGrid(TDateTime left, double width, int columns)
      : left_(left), width_(width), columns_(columns) {}

  long long Of(TDateTime date) const {
    if (date < left_) {
      return -1;
    }
    const double column = (date - left_) / width_;
    return column >= columns_ ? columns_ : static_cast<long long>(column);
  }

 private:
  TDateTime left_;
  double width_;
  int columns_;
};

struct Extreme {
  double value = 0;
  std::size_t at = kNoRecord;
};

// A lowest value taken by any number, and a highest: NaN, which compares false, never is.
constexpr Extreme kNoMin{std::numeric_limits<double>::infinity(), kNoRecord};
constexpr Extreme kNoMax{-std::numeric_limits<double>::infinity(), kNoRecord};

struct Point {
  std::size_t at;
  double x;
  double y;
  bool NewerThan(const Point& other) const { return x != other.x ? x > other.x : at > other.at; }
};

// The records of one column, taken from the newest backwards. Among equal values the
// earlier record wins, and among equal dates the earlier one is the first and the later
// one the last, whether a block was taken whole or record by record.
class Group {
 public:
  Group(const TTinfosRec& history, const std::vector<std::size_t>& shown)
      : history_(history), shown_(shown) {}

  long long column() const { return column_; }

  void Reset(long long column) {
    column_ = column;
    first_ = last_ = Extreme{};
    min_.fill(kNoMin);
    max_.fill(kNoMax);
  }

  void AddRecord(std::size_t i) {
    const TDateTime date = history_[i].Date;
    TakeFirst(date, i);
    TakeLast(date, i);
    TRecordValues values;
    RecordValues(history_, i, values);
    for (const std::size_t s : shown_) {
      TakeMin(s, values[s], i);
      TakeMax(s, values[s], i);
    }
  }

  void AddBlock(const HistorySummary::Block& block, std::size_t base) {
    TakeFirst(block.minDate, base + block.minDateAt);
    TakeLast(block.maxDate, base + block.maxDateAt);
    for (const std::size_t s : shown_) {  // NaN where the block has no value
      TakeMin(s, block.min[s], base + block.minAt[s]);
      TakeMax(s, block.max[s], base + block.maxAt[s]);
    }
  }

  // Appends the group's points to each shown series, newest first.
  void Emit(TPlotSeries& plot, double baseline) const {
    TRecordValues first{};
    TRecordValues last{};
    if (first_.at != kNoRecord) {
      RecordValues(history_, first_.at, first);
      RecordValues(history_, last_.at, last);
    }
    if (first_.at == last_.at) {  // a single record, as in a short window
      for (const std::size_t s : shown_) {
        plot.points[s].x.push_back(first_.value);
        plot.points[s].y.push_back(PlottedValue(first[s], kAllSeries[s], baseline));
      }
      return;
    }
    // The lowest and highest records lie anywhere in the column, mostly in blocks taken
    // whole: their dates are fetched together rather than one after the other.
    for (const std::size_t s : shown_) {
      for (const Extreme* e : {&min_[s], &max_[s]}) {
        if (e->at != kNoRecord) {
          __builtin_prefetch(&history_[e->at]);
        }
      }
    }
    for (const std::size_t s : shown_) {
      Point points[4];
      std::size_t count = 0;
      const auto add = [&](std::size_t at, double value) {
        if (at == kNoRecord) {
          return;
        }
        const Point point{at, history_[at].Date, value};
        // Newest first; four at most, so sorted in place by insertion.
        std::size_t k = count++;
        for (; k > 0 && point.NewerThan(points[k - 1]); --k) {
          points[k] = points[k - 1];
        }
        points[k] = point;
      };
      add(first_.at, first[s]);
      add(min_[s].at, min_[s].value);
      add(max_[s].at, max_[s].value);
      add(last_.at, last[s]);
      TSeriesPoints& series = plot.points[s];
      for (std::size_t k = 0; k < count; ++k) {
        if (k > 0 && points[k].at == points[k - 1].at) {
          continue;
        }
        series.x.push_back(points[k].x);
        series.y.push_back(PlottedValue(points[k].y, kAllSeries[s], baseline));
      }
    }
  }

 private:
  void TakeFirst(TDateTime date, std::size_t i) {
    if (first_.at == kNoRecord || date <= first_.value) {
      first_ = {date, i};
    }
  }
  void TakeLast(TDateTime date, std::size_t i) {
    if (last_.at == kNoRecord || date > last_.value) {
      last_ = {date, i};
    }
  }
  void TakeMin(std::size_t s, double value, std::size_t i) {
    if (value <= min_[s].value) {
      min_[s] = {value, i};
    }
  }
  void TakeMax(std::size_t s, double value, std::size_t i) {
    if (value >= max_[s].value) {
      max_[s] = {value, i};
    }
  }

  const TTinfosRec& history_;
  const std::vector<std::size_t>& shown_;
  long long column_ = 0;
  Extreme first_;
  Extreme last_;
  std::array<Extreme, kSeriesCount> min_;
  std::array<Extreme, kSeriesCount> max_;
};

// Takes the largest summarised block that ends at record i and lies within one column of
// the window, and moves i to its start.
template <typename Take>
bool TakeBlock(const HistorySummary& summary, const ColumnGrid& grid, std::size_t& i, Group& group,
               const Take& take) {
  for (std::size_t level = HistorySummary::kLevels; level-- > 0;) {
    const std::size_t size = HistorySummary::kBlock[level];
    if (i % size != 0 || i > summary.covered(level)) {
      continue;
    }
    const HistorySummary::Block& block = summary.block(level, i / size - 1);
    if (block.minDateAt != HistorySummary::kNone) {
      const long long column = grid.Of(block.minDate);
      if (column < 0 || column != grid.Of(block.maxDate)) {
        continue;
      }
      take(column);
      group.AddBlock(block, i - size);
    }
    i -= size;
    return true;
  }
  return false;
}

}  // namespace

void BuildWholeWindowSeries(const TTinfosRec& history, const TPlotWindow& window,
                            const TSeriesFlags& flags, HistorySummary& summary, TPlotSeries& plot) {
  const int columns = std::max(window.columns, 1);
  const double width = (window.timeMax - window.timeMin) / columns;
  if (!(width > 0) || !std::isfinite(width)) {
    BuildSeries(history, window, flags, plot);
    return;
  }
  plot.Clear();
  if (history.empty()) {
    return;
  }
  std::vector<std::size_t> shown;
  for (std::size_t s = 0; s < kSeriesCount; ++s) {
    if (SeriesShown(kAllSeries[s], flags)) {
      shown.push_back(s);
    }
  }
  summary.Update(history);
  const ColumnGrid grid(window.timeMin, width, columns);
  Group group(history, shown);
  bool open = false;
  const auto take = [&](long long column) {
    if (open && column == group.column()) {
      return;
    }
    if (open) {
      group.Emit(plot, window.valueMin);
    }
    group.Reset(column);
    open = true;
  };

  // The same scan as the system's, without its 3000-record bound: from the newest record
  // back to the first one older than the left end. A block that lies within one column of
  // the window is taken whole.
  for (std::size_t i = history.size(); i > 0;) {
    if (TakeBlock(summary, grid, i, group, take)) {
      continue;
    }
    --i;
    const TDateTime date = history[i].Date;
    if (!std::isfinite(date)) {
      continue;
    }
    take(grid.Of(date));
    group.AddRecord(i);
    if (date < window.timeMin) {
      break;
    }
  }
  if (open) {
    group.Emit(plot, window.valueMin);
  }
  for (const std::size_t s : shown) {
    TSeriesPoints& points = plot.points[s];
    std::reverse(points.x.begin(), points.x.end());
    std::reverse(points.y.begin(), points.y.end());
    SortByTime(points);
  }
  plot.statusText = DataPointsText(history.size());
}

}  // namespace vesk
