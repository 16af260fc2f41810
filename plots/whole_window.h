#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "history/tinfos_rec.h"
#include "plots/history_summary.h"
#include "plots/plot_series.h"

namespace vesk {

// One column's points of each series, newest first, with the values the records hold (the
// heater trace not yet lifted onto its baseline), and the records it was made of.
struct TColumnPoints {
  std::size_t newest = 0;
  std::size_t oldest = 0;
  std::array<std::uint8_t, kSeriesCount> count{};
  std::array<std::array<std::pair<double, double>, 4>, kSeriesCount> points{};
};

// What the whole-window rebuild keeps from one call to the next: the history summary, and the
// columns of the last rebuild that lay wholly inside its window. While the history before
// them is unchanged and the columns keep their width, the next rebuild takes them again as
// they are: a poll that moves the window by one period computes the newest column and the one
// cut by the left edge, whatever the length of the window.
struct TWholeWindowMemory {
  HistorySummary summary;
  std::vector<TColumnPoints> columns;  // newest first
  double width = 0;
  std::array<bool, kSeriesCount> shown{};
  std::size_t historySize = 0;
  TinfosRec first;
  TinfosRec last;
};

// The width of a column: the window's span, to the millisecond, over its pixel columns.
// Columns lie at whole multiples of it, so they stay where they are as the window moves.
double ColumnWidth(const TPlotWindow& window);

// RefreshPlots with "Show the whole window": every series covers the window at any history
// length. The records from the newest back to the first one older than the window's left end
// (that one included, as the line's way in) are grouped by the column their date falls in,
// and each group gives at most four points per series: its earliest, its lowest, its highest
// and its latest, so no peak is lost. Records newer than the window's right end make one more
// group. The memory, kept by the caller between calls, spares reading every record of a long
// window and computing again what the last rebuild computed. A window of no width cannot be
// divided into columns: the system's rebuild is drawn then.
// The series replace what plot held.
void BuildWholeWindowSeries(const TTinfosRec& history, const TPlotWindow& window,
                            const TSeriesFlags& flags, TWholeWindowMemory& memory,
                            TPlotSeries& plot);

}  // namespace vesk
