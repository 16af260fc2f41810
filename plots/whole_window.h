#pragma once

#include "history/tinfos_rec.h"
#include "plots/history_summary.h"
#include "plots/plot_series.h"

namespace vesk {

// RefreshPlots with "Show the whole window": every series covers the window at any history
// length. The records from the newest back to the first one older than the window's left end
// (that one included, as the line's way in) are grouped by the pixel column their date falls
// in, and each group gives at most four points per series: its earliest, its lowest, its
// highest and its latest, so no peak is lost. Records newer than the window's right end make
// one more group. The summary, kept by the caller between calls, spares reading every record
// of a long window. A window of no width cannot be divided into columns: the system's
// rebuild is drawn then.
// The series replace what plot held.
void BuildWholeWindowSeries(const TTinfosRec& history, const TPlotWindow& window,
                            const TSeriesFlags& flags, HistorySummary& summary, TPlotSeries& plot);

}  // namespace vesk
