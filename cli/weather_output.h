#pragma once

#include <string>

#include "weather/weather_readout.h"

namespace vesk::cli {

// The rows the readout holds, one line each as the diagnostics page shows them: caption, raw
// word, value; then the converter status when the readout reached it.
std::string WeatherText(const TWeatherReadout& readout);

// The same, one JSON object per line: {"Caption", "Raw", "Value", "Red"} per row, then
// {"ADCStatus", "Red"} ("Red" only when the status sets a colour).
std::string WeatherJson(const TWeatherReadout& readout);

}  // namespace vesk::cli
