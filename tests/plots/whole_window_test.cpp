#include "plots/whole_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <utility>

#include "history/synthetic_history.h"
#include "plots/series_build.h"
#include "plots/series_builder.h"
#include "plots/series_values.h"

namespace vesk {
namespace {

constexpr double kOneSecond = 1.0 / 86400;
constexpr TSeriesFlags kWholeWindowFlags{true, true, true, true};
using Point = std::pair<double, double>;

// Three weeks at 10 s with sharp one-record spikes in every series.
TTinfosRec SpikyHistory(unsigned seed = 1) {
  TTinfosRec history = GenerateHistory(46000.0, 3 * 7 * 8640, 10.0, seed);
  for (std::size_t i = 5; i < history.size(); i += 997) {
    TinfosRec& r = history[i];
    r.TempExt += i % 2 ? 30 : -30;
    r.RHExt = i % 3 ? 100 : 0;
    r.TempInt -= 25;
    r.RHInt += 40;
    r.TempHot += 50;
    r.Pressure += 80;
    r.WindSpeed += 90;
    r.Windir = 359;
    r.ActiveHeater = !r.ActiveHeater;
  }
  return history;
}

// The last 20 days and one more, 700 columns.
TPlotWindow WindowEndingAt(TDateTime last, double days = 20) {
  return {last - days, last + 1, -5, 700};
}

TPlotSeries Whole(const TTinfosRec& history, const TPlotWindow& window,
                  TWholeWindowMemory& memory) {
  TPlotSeries plot;
  BuildWholeWindowSeries(history, window, kWholeWindowFlags, memory, plot);
  return plot;
}

// Columns lie at whole multiples of the width; one group left of the window, one right of it.
long long ColumnOf(TDateTime date, const TPlotWindow& window) {
  if (date < window.timeMin) {
    return std::numeric_limits<long long>::min();
  }
  if (date >= window.timeMax) {
    return std::numeric_limits<long long>::max();
  }
  return static_cast<long long>(std::floor(date / ColumnWidth(window)));
}

// What each column must show of a series: its earliest, lowest, highest and latest record
// among those from the newest back to the first one older than the window.
std::map<long long, std::set<Point>> ExpectedColumns(const TTinfosRec& history,
                                                     const TPlotWindow& window, TSeriesId id) {
  struct Pick {
    std::size_t first, last, min, max;
  };
  std::map<long long, Pick> picks;
  const auto value = [&](std::size_t i) { return SeriesValue(history, i, id); };
  for (std::size_t i = history.size(); i-- > 0;) {
    const TDateTime date = history[i].Date;
    auto [it, added] = picks.try_emplace(ColumnOf(date, window), Pick{i, i, i, i});
    Pick& p = it->second;
    if (!added) {
      p.first = date <= history[p.first].Date ? i : p.first;
      p.last = date > history[p.last].Date ? i : p.last;
      p.min = value(i) <= value(p.min) ? i : p.min;
      p.max = value(i) >= value(p.max) ? i : p.max;
    }
    if (date < window.timeMin) {
      break;
    }
  }
  std::map<long long, std::set<Point>> columns;
  for (const auto& [column, p] : picks) {
    for (const std::size_t i : {p.first, p.last, p.min, p.max}) {
      columns[column].insert({history[i].Date, PlottedValue(value(i), id, window.valueMin)});
    }
  }
  return columns;
}

std::map<long long, std::set<Point>> ShownColumns(const TSeriesPoints& points,
                                                  const TPlotWindow& window) {
  std::map<long long, std::set<Point>> columns;
  for (std::size_t k = 0; k < points.x.size(); ++k) {
    columns[ColumnOf(points.x[k], window)].insert({points.x[k], points.y[k]});
  }
  return columns;
}

// Narrow columns are read record by record and in short blocks, wide ones mostly in long blocks.
TEST(WholeWindow, EveryColumnShowsItsFirstLowestHighestAndLastRecord) {
  const TTinfosRec history = SpikyHistory();
  for (const int columns : {700, 40}) {
    TPlotWindow window = WindowEndingAt(history.back().Date);
    window.columns = columns;
    SCOPED_TRACE(columns);
    TWholeWindowMemory memory;
    const TPlotSeries plot = Whole(history, window, memory);
    for (const TSeriesId id : kAllSeries) {
      const TSeriesPoints& points = plot[id];
      SCOPED_TRACE(static_cast<int>(id));
      ASSERT_EQ(points.x.size(), points.y.size());
      EXPECT_TRUE(std::is_sorted(points.x.begin(), points.x.end()));
      EXPECT_LE(points.x.size(), 4u * (window.columns + 2));
      EXPECT_EQ(ShownColumns(points, window), ExpectedColumns(history, window, id));
      EXPECT_LT(points.x[0], window.timeMin) << "the line comes in from the left edge";
      EXPECT_GE(points.x[1], window.timeMin);
    }
    EXPECT_EQ(plot.statusText, " Data pts=181440 display limited to 40000 points");
  }
}

TEST(WholeWindow, NoPeakIsLostWhenTheClockWentBack) {
  TTinfosRec history = SpikyHistory();
  for (std::size_t i = history.size() - 50000; i < history.size(); ++i) {
    history[i].Date -= 1.0 / 24;  // an hour set back, ten days ago
  }
  const TPlotWindow window = WindowEndingAt(history.back().Date);
  TWholeWindowMemory memory;
  const TPlotSeries plot = Whole(history, window, memory);
  for (const TSeriesId id : {TSeriesId::SeriesTemp, TSeriesId::SeriesPR}) {
    const TSeriesPoints& points = plot[id];
    EXPECT_TRUE(std::is_sorted(points.x.begin(), points.x.end()));
    const auto shown = ShownColumns(points, window);
    for (const auto& [column, expected] : ExpectedColumns(history, window, id)) {
      const std::set<Point>& got = shown.at(column);
      EXPECT_TRUE(std::includes(got.begin(), got.end(), expected.begin(), expected.end()))
          << "column " << column;
    }
  }
}

TEST(WholeWindow, RecordsRightOfTheWindowMakeOneGroup) {
  const TTinfosRec history = SpikyHistory();
  TPlotWindow window = WindowEndingAt(history.back().Date - 6, 5);
  window.timeMax += 5 * kOneSecond;  // between two records
  TWholeWindowMemory memory;
  const TSeriesPoints temp = Whole(history, window, memory)[TSeriesId::SeriesTemp];
  const auto right = std::upper_bound(temp.x.begin(), temp.x.end(), window.timeMax);
  EXPECT_LE(temp.x.end() - right, 4);
  EXPECT_EQ(temp.x.back(), history.back().Date);
  const auto firstRight = std::find_if(history.begin(), history.end(),
                                       [&](const TinfosRec& r) { return r.Date > window.timeMax; });
  EXPECT_EQ(*right, firstRight->Date) << "the line leaves at the right edge";
}

TEST(WholeWindow, ShortWindowShowsEveryRecordOfIt) {
  const TTinfosRec history = SpikyHistory();
  const TPlotWindow window = {history.back().Date - 1.0 / 24 - 5 * kOneSecond,
                              history.back().Date + 1.0 / 240, 0, 800};
  TWholeWindowMemory memory;
  const TSeriesPoints rh = Whole(history, window, memory)[TSeriesId::SeriesRH];
  ASSERT_EQ(rh.x.size(), 361u + 1) << "an hour at 10 s, both ends, and the record before it";
  EXPECT_EQ(rh.x.front(), history[history.size() - 362].Date);
}

TEST(WholeWindow, WindowOfNoWidthDrawsTheNewest3000Records) {
  const TTinfosRec history = SpikyHistory();
  const TPlotWindow window = {history.back().Date, history.back().Date, 0, 800};
  TWholeWindowMemory memory;
  const TPlotSeries whole = Whole(history, window, memory);
  TPlotSeries newest;
  BuildSeries(history, window, kWholeWindowFlags, newest);
  for (const TSeriesId id : kAllSeries) {
    EXPECT_EQ(whole[id].x, newest[id].x);
    EXPECT_EQ(whole[id].y, newest[id].y);
  }
}

void ExpectSameSeries(const TPlotSeries& a, const TPlotSeries& b) {
  for (const TSeriesId id : kAllSeries) {
    ASSERT_EQ(a[id].x, b[id].x) << static_cast<int>(id);
    ASSERT_EQ(a[id].y, b[id].y) << static_cast<int>(id);
  }
  EXPECT_EQ(a.statusText, b.statusText);
}

// The builder keeps its summary and the columns of its last rebuild: what it draws must not
// depend on them, whether the window follows each poll, changes width or the series shown
// change.
TEST(WholeWindow, BuilderFollowsTheHistoryAsItGrowsAndIsReplaced) {
  const TTinfosRec full = SpikyHistory();
  TTinfosRec history(full.begin(), full.end() - 200);
  SeriesBuilder builder;
  double days = 20;
  TSeriesFlags flags = kWholeWindowFlags;
  const auto expectFresh = [&](const char* step) {
    SCOPED_TRACE(step);
    const TPlotWindow window = WindowEndingAt(history.back().Date, days);
    SeriesBuilder fresh;
    ExpectSameSeries(builder.RefreshPlots(history, window, flags),
                     fresh.RefreshPlots(history, window, flags));
  };
  const auto grow = [&](std::size_t count) {
    history.insert(history.end(), full.begin() + static_cast<long>(history.size()),
                   full.begin() + static_cast<long>(history.size() + count));
  };
  expectFresh("first rebuild");
  for (const std::size_t count : {1, 31, 32, 100}) {
    grow(count);
    expectFresh("grown");
  }
  for (int poll = 0; poll < 30; ++poll) {
    grow(1);
    expectFresh("one poll");
  }
  history.push_back(history.back());
  history.back().Date -= 2.0;  // the clock set two days back
  expectFresh("a record older than the one before");
  grow(1);
  expectFresh("the poll after it");
  days = 3;
  expectFresh("another window");
  flags.displayRHInt = false;
  expectFresh("another model");
  history = SpikyHistory(2);
  expectFresh("another history of the same length");
  history.resize(history.size() / 2);
  expectFresh("a shorter one");
}

}  // namespace
}  // namespace vesk
