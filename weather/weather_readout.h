#pragma once

#include <array>
#include <cstddef>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/sensor_conversions.h"
#include "common/byte_array.h"

namespace vesk {

// The rows of the "Debug and Test Astel WEATHER" page, in the page's order.
inline constexpr std::size_t kWeatherRowCount = 9;
inline constexpr std::array<const char*, kWeatherRowCount> kWeatherRowCaptions = {
    " Pressure Sensor",      " 2.5V ADC tests",   " ADC temperature",
    " External Temperature", " External RH",      " Wind Speed",
    " Wind Direction",       " Temp. Thr. Comp.", " RH. Thr. Comp."};

// One row: the raw word (binary, hexadecimal, decimal) and its value in physical units.
struct TWeatherRow {
  std::string raw;
  std::string value;
  bool red = false;  // the value field's colour; black otherwise
};

// LabelADCStatus, from reply byte 18.
struct TADCStatus {
  std::string text;         // "OK", "Faulted" or "Not supported..."
  std::optional<bool> red;  // unset: the label keeps the colour it has
};

// What one reading of the weather module writes on the page. The rows are written in order
// and a reply too short for a row stops there: the rows before it are written, the later
// ones and the status keep their old texts, and `error` holds the failure to raise once the
// written rows are shown.
struct TWeatherReadout {
  std::vector<TWeatherRow> rows;  // rows[i] is kWeatherRowCaptions[i]
  std::optional<TADCStatus> status;
  std::exception_ptr error;
};

// The page's texts for a REQ_GET_DATAEXT reply. The reference test row and the status read
// "Not supported" when the reply lacks their bytes; any other row the reply is too short for
// ends the readout with "Range check error".
TWeatherReadout WeatherReadout(const TArrayByte& reply, const HumidityConstants& humidity);

}  // namespace vesk
