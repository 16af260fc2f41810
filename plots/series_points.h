#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "history/tinfos_rec.h"
#include "plots/plot_series.h"

namespace vesk {

// Adds record i to a series: its date, and its value on the series lifted onto the heater
// baseline where it is the heater trace.
void AddPoint(TSeriesPoints& points, const TTinfosRec& history, std::size_t i, TSeriesId id,
              double baseline);

// Puts the points in ascending time where the clock went back while they were recorded
// (equal times keep their order); points already in order are left as they are.
void SortByTime(TSeriesPoints& points);

// The text of status panel 2 for a history of n records; none when it is empty.
std::optional<std::string> DataPointsText(std::size_t n);

}  // namespace vesk
