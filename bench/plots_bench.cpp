// Series building on a one-year history at 10 s, in both modes and for each window button,
// beside a baseline measured in the same run: copying the newest 3000 records, what any
// rebuild of the system's kind must at least do. The charts are 1200 pixel columns wide.
// Run: build/bin/bench_plots (Release or RelWithDebInfo build).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "history/synthetic_history.h"
#include "plots/series_builder.h"
#include "plots/time_window.h"

namespace vesk {
namespace {

constexpr std::size_t kOneYearAt10s = 365 * 8640;  // 3 153 600 records
constexpr int kColumns = 1200;                     // a wide chart on a large screen
constexpr TSeriesFlags kWeatherModel{true, true, true, false};

const TTinfosRec& Year() {
  static const TTinfosRec year = GenerateHistory(45000.0, kOneYearAt10s, 10.0);
  return year;
}

// The window of a window button, ending at the newest record.
TPlotWindow ButtonWindow(const char* name) {
  const auto& buttons = kWindowButtons;
  const auto button = std::find_if(buttons.begin(), buttons.end(), [&](const TWindowButton& b) {
    return b.name == std::string(name);
  });
  const TTimeRange range = TimeWindowRange(Year().back().Date, button->MinX, button->MaxX);
  return {range.min, range.max, 0, kColumns};
}

void BM_Baseline_Copy3000(benchmark::State& state) {
  const TTinfosRec& year = Year();
  for (auto _ : state) {
    std::vector<TinfosRec> copy(year.end() - 3000, year.end());
    benchmark::DoNotOptimize(copy.data());
  }
}

void BM_RefreshPlots(benchmark::State& state, const char* button, bool wholeWindow) {
  const TTinfosRec& year = Year();
  const TPlotWindow window = ButtonWindow(button);
  TSeriesFlags flags = kWeatherModel;
  flags.wholeWindow = wholeWindow;
  SeriesBuilder builder;
  builder.RefreshPlots(year, window, flags);  // the summary of the first rebuild, once
  std::size_t points = 0;
  for (auto _ : state) {
    const TPlotSeries& plot = builder.RefreshPlots(year, window, flags);
    points = plot[TSeriesId::SeriesTemp].x.size();
    benchmark::DoNotOptimize(plot.points.data());
  }
  state.counters["points"] = static_cast<double>(points);
}

// A poll with the X axis locked: one record appended, the window moved to it, the series
// rebuilt; the summary takes in the new record as it completes a block.
void BM_PollThenRefreshPlots(benchmark::State& state, const char* button, bool wholeWindow) {
  TTinfosRec history;
  history.reserve(Year().size() + 1'000'000);
  history = Year();
  const TPlotWindow first = ButtonWindow(button);
  TSeriesFlags flags = kWeatherModel;
  flags.wholeWindow = wholeWindow;
  SeriesBuilder builder;
  builder.RefreshPlots(history, first, flags);
  for (auto _ : state) {
    TinfosRec next = history.back();
    next.Date += 10.0 / 86400;
    history.push_back(next);
    TPlotWindow window = first;
    window.timeMin += next.Date - Year().back().Date;
    window.timeMax += next.Date - Year().back().Date;
    benchmark::DoNotOptimize(builder.RefreshPlots(history, window, flags).points.data());
  }
}

// The first whole-window rebuild after the start: the year summarised once.
void BM_SummariseYear(benchmark::State& state) {
  const TTinfosRec& year = Year();
  for (auto _ : state) {
    HistorySummary summary;
    summary.Update(year);
    benchmark::DoNotOptimize(summary.covered(0));
  }
}

BENCHMARK(BM_Baseline_Copy3000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RefreshPlots, Newest3000_24h, "BitBtn24h", false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RefreshPlots, Newest3000_6M, "BitBtn6mois", false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RefreshPlots, WholeWindow_1h, "BitBtn1h", true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RefreshPlots, WholeWindow_24h, "BitBtn24h", true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RefreshPlots, WholeWindow_3J, "BitBtn3J", true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RefreshPlots, WholeWindow_1s, "BitBtn1s", true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RefreshPlots, WholeWindow_1M, "BitBtn1mois", true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RefreshPlots, WholeWindow_6M, "BitBtn6mois", true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PollThenRefreshPlots, Newest3000_24h, "BitBtn24h", false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PollThenRefreshPlots, WholeWindow_6M, "BitBtn6mois", true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SummariseYear)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
