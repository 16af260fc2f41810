#include "plots/whole_window.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "plots/series_build.h"
#include "plots/series_points.h"
#include "plots/series_values.h"

namespace vesk {
namespace {

constexpr std::size_t kNoRecord = SIZE_MAX;

constexpr long long kLeft = std::numeric_limits<long long>::min();
constexpr long long kRight = std::numeric_limits<long long>::max();

// Columns at whole multiples of the width; kLeft holds what lies left of the window, kRight
// what lies right of it.
class ColumnGrid {
 public:
  ColumnGrid(const TPlotWindow& window, double width)
      : left_(window.timeMin), right_(window.timeMax), width_(width) {}

  long long Of(TDateTime date) const {
    if (date < left_) {
      return kLeft;
    }
    if (date >= right_) {
      return kRight;
    }
    return static_cast<long long>(std::floor(date / width_));
  }

  // Whether no edge of the window cuts the column.
  bool Whole(long long column) const {
    return column != kLeft && column != kRight && static_cast<double>(column) * width_ >= left_ &&
           static_cast<double>(column + 1) * width_ <= right_;
  }

 private:
  TDateTime left_;
  TDateTime right_;
  double width_;
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
  std::size_t newest() const { return newest_; }

  // A new group, from record `newest` back.
  void Reset(long long column, std::size_t newest) {
    column_ = column;
    newest_ = oldest_ = newest;
    first_ = last_ = Extreme{};
    min_.fill(kNoMin);
    max_.fill(kNoMax);
  }

  void AddRecord(std::size_t i) {
    oldest_ = i;
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
    oldest_ = base;
    TakeFirst(block.minDate, base + block.minDateAt);
    TakeLast(block.maxDate, base + block.maxDateAt);
    for (const std::size_t s : shown_) {  // NaN where the block has no value
      TakeMin(s, block.min[s], base + block.minAt[s]);
      TakeMax(s, block.max[s], base + block.maxAt[s]);
    }
  }

  // The group's points of each shown series, newest first.
  void Collect(TColumnPoints& column) const {
    column.newest = newest_;
    column.oldest = oldest_;
    column.count.fill(0);
    TRecordValues first{};
    TRecordValues last{};
    if (first_.at != kNoRecord) {
      RecordValues(history_, first_.at, first);
      RecordValues(history_, last_.at, last);
    }
    if (first_.at == last_.at) {  // a single record, as in a short window
      for (const std::size_t s : shown_) {
        column.points[s][0] = {first_.value, first[s]};
        column.count[s] = 1;
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
      std::uint8_t& kept = column.count[s];
      for (std::size_t k = 0; k < count; ++k) {
        if (k > 0 && points[k].at == points[k - 1].at) {
          continue;
        }
        column.points[s][kept++] = {points[k].x, points[k].y};
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
  std::size_t newest_ = 0;
  std::size_t oldest_ = 0;
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
      if (column == kLeft || column != grid.Of(block.maxDate)) {
        continue;
      }
      take(column, i - 1);
      group.AddBlock(block, i - size);
    }
    i -= size;
    return true;
  }
  return false;
}

}  // namespace

double ColumnWidth(const TPlotWindow& window) {
  constexpr double kMillisecondsADay = 86400000.0;
  const double span = std::round((window.timeMax - window.timeMin) * kMillisecondsADay);
  return span / kMillisecondsADay / std::max(window.columns, 1);
}

namespace {

bool SameRecord(const TinfosRec& a, const TinfosRec& b) {
  return std::memcmp(&a, &b, sizeof(TinfosRec)) == 0;
}

// Whether the columns kept were made of the same records, cut into the same columns.
bool Reusable(const TWholeWindowMemory& memory, const TTinfosRec& history, double width,
              const std::array<bool, kSeriesCount>& shown) {
  return memory.width == width && memory.shown == shown && memory.historySize > 0 &&
         history.size() >= memory.historySize && SameRecord(history.front(), memory.first) &&
         SameRecord(history[memory.historySize - 1], memory.last);
}

void Append(TPlotSeries& plot, const TColumnPoints& column, const std::vector<std::size_t>& shown,
            double baseline) {
  for (const std::size_t s : shown) {
    TSeriesPoints& series = plot.points[s];
    for (std::size_t k = 0; k < column.count[s]; ++k) {
      series.x.push_back(column.points[s][k].first);
      series.y.push_back(PlottedValue(column.points[s][k].second, kAllSeries[s], baseline));
    }
  }
}

}  // namespace

void BuildWholeWindowSeries(const TTinfosRec& history, const TPlotWindow& window,
                            const TSeriesFlags& flags, TWholeWindowMemory& memory,
                            TPlotSeries& plot) {
  const double width = ColumnWidth(window);
  if (!(width > 0) || !std::isfinite(width)) {
    BuildSeries(history, window, flags, plot);
    return;
  }
  plot.Clear();
  if (history.empty()) {
    return;
  }
  std::vector<std::size_t> shown;
  std::array<bool, kSeriesCount> shownMask{};
  for (std::size_t s = 0; s < kSeriesCount; ++s) {
    if (SeriesShown(kAllSeries[s], flags)) {
      shown.push_back(s);
      shownMask[s] = true;
    }
  }
  memory.summary.Update(history);
  std::vector<TColumnPoints> kept;
  if (Reusable(memory, history, width, shownMask)) {
    kept.swap(memory.columns);
  }
  memory.columns.clear();
  memory.columns.reserve(kept.size() + 2);
  memory.width = width;
  memory.shown = shownMask;
  memory.historySize = history.size();
  memory.first = history.front();
  memory.last = history.back();

  const ColumnGrid grid(window, width);
  Group group(history, shown);
  TColumnPoints points;
  bool open = false;
  const auto close = [&] {
    if (!open) {
      return;
    }
    group.Collect(points);
    Append(plot, points, shown, window.valueMin);
    if (grid.Whole(group.column())) {
      memory.columns.push_back(points);
    }
    open = false;
  };
  const auto take = [&](long long column, std::size_t newest) {
    if (open && column == group.column()) {
      return;
    }
    close();
    group.Reset(column, newest);
    open = true;
  };
  // The kept columns, newest first as the scan meets them.
  auto next = kept.cbegin();
  const auto keptFrom = [&](std::size_t newest, long long column) -> const TColumnPoints* {
    while (next != kept.cend() && next->newest > newest) {
      ++next;
    }
    if (next == kept.cend() || next->newest != newest || !grid.Whole(column)) {
      return nullptr;
    }
    return &*next;
  };

  // The same scan as the system's, without its 3000-record bound: from the newest record
  // back to the first one older than the left end. A column the last rebuild made of the same
  // records is taken again; a block that lies within one column is taken whole.
  for (std::size_t i = history.size(); i > 0;) {
    const TDateTime newest = history[i - 1].Date;
    if (std::isfinite(newest)) {
      const long long column = grid.Of(newest);
      if (!open || column != group.column()) {
        if (const TColumnPoints* again = keptFrom(i - 1, column)) {
          close();
          Append(plot, *again, shown, window.valueMin);
          memory.columns.push_back(*again);
          i = again->oldest;
          continue;
        }
      }
    }
    if (TakeBlock(memory.summary, grid, i, group, take)) {
      continue;
    }
    --i;
    const TDateTime date = history[i].Date;
    if (!std::isfinite(date)) {
      continue;
    }
    take(grid.Of(date), i);
    group.AddRecord(i);
    if (date < window.timeMin) {
      break;
    }
  }
  close();
  for (const std::size_t s : shown) {
    TSeriesPoints& series = plot.points[s];
    std::reverse(series.x.begin(), series.x.end());
    std::reverse(series.y.begin(), series.y.end());
    SortByTime(series);
  }
  plot.statusText = DataPointsText(history.size());
}

}  // namespace vesk
