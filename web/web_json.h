#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "common/datetime.h"
#include "plots/plot_series.h"
#include "web/web_station.h"

namespace vesk {

// The series' names on the page, as the charts know them ("SeriesTemp" …).
const char* SeriesName(TSeriesId id);

// A date-time as the page's charts take it: seconds of its own wall-clock time, counted as
// if it were UTC (the page shows them with a UTC clock, as the window's charts do).
double ChartSeconds(TDateTime value);

// The JSON text of a value; bytes that are no UTF-8 are replaced, never raised on.
std::string JsonText(const nlohmann::json& value);

// The live state as the page takes it.
nlohmann::json LiveJson(const WebLiveState& state);

// The JSON text of the series of a window, one entry per series shown: {"SeriesTemp":
// {"x": [...], "y": [...]}, ...}, x in chart seconds to the millisecond, y to the thousandth
// (finer than any reading), null for a value the record does not hold. Written directly: a
// full window holds tens of thousands of numbers.
std::string SeriesJsonText(const TPlotSeries& plot, const TSeriesFlags& flags);

}  // namespace vesk
