#pragma once

#include "history/tinfos_rec.h"
#include "plots/plot_series.h"
#include "plots/whole_window.h"

namespace vesk {

// RefreshPlots for the window: one call per rebuild, in either mode, answering the series
// to hand to the charts. Between calls it keeps the room of the points, so a rebuild after
// every poll allocates nothing, and the history summary the whole-window mode reads: the
// first whole-window rebuild summarises the history once, later ones only what was added.
class SeriesBuilder {
 public:
  // Valid until the next call.
  const TPlotSeries& RefreshPlots(const TTinfosRec& history, const TPlotWindow& window,
                                  const TSeriesFlags& flags);

 private:
  TWholeWindowMemory wholeWindow_;
  TPlotSeries plot_;
};

}  // namespace vesk
