#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "common/datetime.h"

namespace vesk {

// The ten series of the five charts, in the order RefreshPlots clears them.
enum class TSeriesId : std::size_t {
  SeriesOn_Off_Heater,
  SeriesTP2,
  SeriesPR,
  SeriesTemp,
  SeriesRH,
  SeriesRHint,
  SeriesTempHot,
  SeriesPressure,
  SeriesWindspeed,
  SeriesWindDir,
};
inline constexpr std::size_t kSeriesCount = 10;
inline constexpr std::array<TSeriesId, kSeriesCount> kAllSeries = {
    TSeriesId::SeriesOn_Off_Heater, TSeriesId::SeriesTP2,      TSeriesId::SeriesPR,
    TSeriesId::SeriesTemp,          TSeriesId::SeriesRH,       TSeriesId::SeriesRHint,
    TSeriesId::SeriesTempHot,       TSeriesId::SeriesPressure, TSeriesId::SeriesWindspeed,
    TSeriesId::SeriesWindDir};

// One series as the chart takes it in one call: x are date-times (days since 1899-12-30,
// local time), ascending; y the values, where a value the record does not hold is NaN.
struct TSeriesPoints {
  std::vector<double> x;
  std::vector<double> y;
};

// What RefreshPlots puts on the charts.
struct TPlotSeries {
  std::array<TSeriesPoints, kSeriesCount> points;
  // The text of status panel 2, " Data pts=…"; none for an empty history, whose panel keeps
  // its text.
  std::optional<std::string> statusText;

  // Empties every series and the text, keeping the room the points took.
  void Clear() {
    for (TSeriesPoints& p : points) {
      p.x.clear();
      p.y.clear();
    }
    statusText.reset();
  }

  TSeriesPoints& operator[](TSeriesId id) { return points[static_cast<std::size_t>(id)]; }
  const TSeriesPoints& operator[](TSeriesId id) const {
    return points[static_cast<std::size_t>(id)];
  }
};

// The temperature chart as it stands when the series are built: its time axis gives the
// cut-off for every chart, the minimum of its value axis the heater baseline.
struct TPlotWindow {
  TDateTime timeMin = 0;
  TDateTime timeMax = 0;
  double valueMin = 0;
  // Pixel columns of the plot area, for the whole-window reduction.
  int columns = 0;
};

struct TSeriesFlags {
  bool displayRHInt = false;    // DisplayRH_int: the model reports the inside humidity
  bool displayTempHot = false;  // DisplayTempHot: the model reports the dome-base temperature
  bool weatherModule = false;   // HasWeatherModule(TypeCam): pressure and wind
  bool wholeWindow = false;     // "Misc" "WholeWindow": the whole window, reduced per column
};

}  // namespace vesk
