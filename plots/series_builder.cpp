#include "plots/series_builder.h"

#include "plots/series_build.h"
#include "plots/whole_window.h"

namespace vesk {

const TPlotSeries& SeriesBuilder::RefreshPlots(const TTinfosRec& history, const TPlotWindow& window,
                                               const TSeriesFlags& flags) {
  if (flags.wholeWindow) {
    BuildWholeWindowSeries(history, window, flags, wholeWindow_, plot_);
  } else {
    BuildSeries(history, window, flags, plot_);
  }
  return plot_;
}

}  // namespace vesk
