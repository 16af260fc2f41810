#pragma once

#include <array>
#include <cstddef>

#include "history/tinfos_rec.h"
#include "plots/plot_series.h"

namespace vesk {

// Whether RefreshPlots fills the series for this model.
bool SeriesShown(TSeriesId id, const TSeriesFlags& flags);

// The mean pressure of records i, i−1, …, i−10, a position below 0 standing for record 0.
double SmoothedPressure(const TTinfosRec& history, std::size_t i);

// The y of record i on a series, the heater trace 10 units above 0 while the heater is on:
// the caller lifts it onto the baseline.
double SeriesValue(const TTinfosRec& history, std::size_t i, TSeriesId id);

// Every series' SeriesValue of record i at once, indexed as kAllSeries.
using TRecordValues = std::array<double, kSeriesCount>;
void RecordValues(const TTinfosRec& history, std::size_t i, TRecordValues& values);

// The y a chart shows for a SeriesValue.
inline double PlottedValue(double value, TSeriesId id, double baseline) {
  return id == TSeriesId::SeriesOn_Off_Heater ? baseline + value : value;
}

}  // namespace vesk
