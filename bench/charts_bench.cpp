// One poll applied to the charts with a one-year history at 10 s (3.15 million records), as
// the main window does it with the X axis locked: the record appended, the series rebuilt and
// handed to the five charts, the window moved, and the charts redrawn offscreen at the size of
// a page of the main window and the page shown painted. Both modes: the newest 3000 records,
// and the whole window reduced per pixel column.
// - BM_PollApplied: as the monitor does it, the chart shown redrawn, the four on hidden pages
//   left until their page is shown.
// - BM_PollAppliedAllFive: all five charts redrawn after the rebuild.
// - BM_Baseline_RedrawFive: the baseline measured in the same run, the five charts redrawn with
//   the newest 3000 records of a "24h" window unchanged: the drawing every poll of the system's
//   kind costs.
// The window's keys, which the settings file writes through to the disk after every such
// poll, are left out: their cost is the disk's.
// Run: build/bin/bench_charts (Release or RelWithDebInfo build; offscreen unless
// QT_QPA_PLATFORM says otherwise).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTabWidget>

#include <algorithm>
#include <memory>

#include "history/synthetic_history.h"
#include "plots/gui/chart_page.h"
#include "plots/gui/chart_set.h"
#include "plots/gui/custom_plot.h"
#include "plots/gui/wind_speed_page.h"

namespace vesk {
namespace {

constexpr std::size_t kOneYearAt10s = 365 * 8640;  // 3 153 600 records
constexpr double kPoll = 10.0 / 86400;             // days
const QSize kPage(950, 420);                       // a page of the main window

// The five chart pages, shown offscreen, with the charts prepared as at start.
class Charts {
 public:
  Charts() {
    // As in the main window: the pages on a tab widget, the temperature page shown.
    tabs_.resize(kPage);
    for (const ChartKind kind : {ChartKind::Temperatures, ChartKind::RelativeHumidity,
                                 ChartKind::Pressure, ChartKind::WindData}) {
      pages_.push_back(new ChartPage(kind));
      tabs_.addTab(pages_.back(), QString());
    }
    auto* wind = new WindSpeedPage;
    tabs_.addTab(wind, QString());
    set_ = std::make_unique<ChartSet>(std::array<QCustomPlot*, kChartCount>{
        pages_[0]->chart(), pages_[1]->chart(), pages_[2]->chart(), wind->chart(),
        pages_[3]->chart()});
    for (const TValueAxis axis : {TValueAxis::Temp, TValueAxis::RH}) {
      TValueAxisScale scale;
      ApplyStartScale(axis, {true, 0, axis == TValueAxis::Temp ? 50.0 : 100.0}, scale);
      set_->SetScale(
          axis == TValueAxis::Temp ? ChartKind::Temperatures : ChartKind::RelativeHumidity, scale);
    }
    tabs_.show();
    // Each page shown once, so every chart has the size of a page.
    for (int page = tabs_.count() - 1; page >= 0; --page) {
      tabs_.setCurrentIndex(page);
      QApplication::processEvents();
    }
  }

  ChartSet& set() { return *set_; }

  // The replots the changes queued and the page shown painted, as the event loop of the
  // main window runs them.
  void RunEventLoop() { QApplication::processEvents(); }

 private:
  QTabWidget tabs_;
  std::vector<ChartPage*> pages_;  // owned by the tabs
  std::unique_ptr<ChartSet> set_;
};

const TTinfosRec& Year() {
  static const TTinfosRec year = GenerateHistory(45000.0, kOneYearAt10s, 10.0);
  return year;
}

const TWindowButton& Button(const char* name) {
  return *std::find_if(kWindowButtons.begin(), kWindowButtons.end(),
                       [&](const TWindowButton& b) { return std::string(b.name) == name; });
}

// The charts showing a button's window of the year, rebuilt once (the whole-window summary of
// the first rebuild included) and drawn.
class YearOnCharts {
 public:
  YearOnCharts(const char* button, bool wholeWindow) : flags_{true, true, true, wholeWindow} {
    history_.reserve(Year().size() + 200'000);
    history_ = Year();
    ChartSet& set = charts_.set();
    set.timeWindow().Press(Button(button));
    set.ShowTimeFormats();
    set.SetTimeWindow(history_.back().Date);
    set.RefreshPlots(history_, flags_);
    charts_.RunEventLoop();
  }

  ChartSet& set() { return charts_.set(); }

  // One poll with the lock on: a record 10 s after the last, the series rebuilt, the window
  // moved.
  void Poll() {
    TinfosRec next = history_.back();
    next.Date += kPoll;
    history_.push_back(next);
    set().RefreshPlots(history_, flags_);
    set().SetTimeWindow(next.Date);
  }

  // What the changes queued drawn and the page shown painted, as the monitor does it.
  void RedrawShown() { charts_.RunEventLoop(); }

  // The same, and each chart that is not shown drawn too: every chart drawn once.
  void DrawAllFive() {
    RedrawShown();
    for (std::size_t k = 0; k < kChartCount; ++k) {
      QCustomPlot& chart = set().chart(static_cast<ChartKind>(k));
      if (!chart.isVisible()) {
        chart.replot(QCustomPlot::rpQueuedRefresh);
      }
    }
  }

  std::size_t Points() {
    return static_cast<std::size_t>(
        SeriesGraph(set().chart(ChartKind::Temperatures), TSeriesId::SeriesTemp)->dataCount());
  }

 private:
  TSeriesFlags flags_;
  TTinfosRec history_;
  Charts charts_;
};

void BM_Baseline_RedrawFive(benchmark::State& state) {
  YearOnCharts year("BitBtn24h", false);
  for (auto _ : state) {
    year.set().Replot();
    year.DrawAllFive();
  }
  state.counters["points"] = static_cast<double>(year.Points());
}

void BM_PollApplied(benchmark::State& state, const char* button, bool wholeWindow) {
  YearOnCharts year(button, wholeWindow);
  for (auto _ : state) {
    year.Poll();
    year.RedrawShown();
  }
  state.counters["points"] = static_cast<double>(year.Points());
}

void BM_PollAppliedAllFive(benchmark::State& state, const char* button, bool wholeWindow) {
  YearOnCharts year(button, wholeWindow);
  for (auto _ : state) {
    year.Poll();
    year.DrawAllFive();
  }
  state.counters["points"] = static_cast<double>(year.Points());
}

BENCHMARK(BM_Baseline_RedrawFive)->Unit(benchmark::kMillisecond);
#define VESK_POLL_BENCHMARKS(function)                                                             \
  BENCHMARK_CAPTURE(function, Newest3000_24h, "BitBtn24h", false)->Unit(benchmark::kMillisecond);  \
  BENCHMARK_CAPTURE(function, Newest3000_6M, "BitBtn6mois", false)->Unit(benchmark::kMillisecond); \
  BENCHMARK_CAPTURE(function, WholeWindow_24h, "BitBtn24h", true)->Unit(benchmark::kMillisecond);  \
  BENCHMARK_CAPTURE(function, WholeWindow_1M, "BitBtn1mois", true)->Unit(benchmark::kMillisecond); \
  BENCHMARK_CAPTURE(function, WholeWindow_6M, "BitBtn6mois", true)->Unit(benchmark::kMillisecond)
VESK_POLL_BENCHMARKS(BM_PollApplied);
VESK_POLL_BENCHMARKS(BM_PollAppliedAllFive);

}  // namespace
}  // namespace vesk

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
