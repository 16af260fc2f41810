#pragma once

#include "history/tinfos_rec.h"
#include "plots/plot_series.h"

namespace vesk {

// RefreshPlots as the system has always drawn: the newest records back to the first one
// older than a day before the window's left end, that one included, and never more than the
// newest 3000. A record whose date is not a finite number never stops that scan and is
// left off the charts, which have no place for it.
// The series replace what plot held.
void BuildSeries(const TTinfosRec& history, const TPlotWindow& window, const TSeriesFlags& flags,
                 TPlotSeries& plot);

}  // namespace vesk
